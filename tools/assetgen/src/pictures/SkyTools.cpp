#include "SkyTools.hpp"

#include "../raster/Noise.hpp"

namespace assetgen::pictures
{
namespace
{
constexpr float halfStep = 0.5f / channelMax;
}

void addDither(Canvas& canvas, std::uint32_t seed)
{
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
        {
            const float offset = (latticeHash(x, y, seed) * 2.f - 1.f) * halfStep;
            Rgba& c = canvas.at(x, y);
            c.r += offset;
            c.g += offset;
            c.b += offset;
        }
}
} // namespace assetgen::pictures
