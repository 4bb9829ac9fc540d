#include "AssetCache.hpp"

AssetCache* AssetCache::latest = nullptr;

AssetCache::AssetCache() : before(latest)
{
    latest = this;
}

AssetCache::~AssetCache()
{
    latest = before;
}
