#pragma once

#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/Graphics/Image.hpp>

#include <map>
#include <optional>
#include <string>

// While one lives, a picture or a sound loaded again is not read and decoded again: the game object
// builds its bird twice and loads "obstacle.bmp" four times. A load that finds its file here gives
// what the first load gave, the same pixels or samples or the same failure, and says again on
// standard error what the first said. One lives while a game object is built; the decoded files go
// with it.
class AssetCache
{
public:
    // What decoding one file gave, and the lines the decoding wrote on standard error meanwhile.
    template <typename Decoded> struct Outcome
    {
        std::optional<Decoded> decoded;
        std::string said;
    };
    template <typename Decoded> using Shelf = std::map<std::string, Outcome<Decoded>>;

    AssetCache();
    ~AssetCache();
    AssetCache(const AssetCache&) = delete;
    AssetCache& operator=(const AssetCache&) = delete;

    // The cache that lives now (the latest made), or none.
    [[nodiscard]] static AssetCache* current() { return latest; }

    Shelf<sf::Image> pictures;
    Shelf<sf::SoundBuffer> sounds;

private:
    AssetCache* before;
    static AssetCache* latest;
};
