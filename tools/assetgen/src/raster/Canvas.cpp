#include "Canvas.hpp"

#include <algorithm>
#include <cmath>

namespace assetgen
{
namespace
{
std::uint8_t toByte(float channel)
{
    return static_cast<std::uint8_t>(std::lround(clamp01(channel) * channelMax));
}
} // namespace

Canvas::Canvas(int width, int height, Rgba fill)
    : w(width), h(height), pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill)
{
}

void Canvas::blend(int x, int y, Rgba colour, float coverage)
{
    if (x < 0 || y < 0 || x >= w || y >= h)
        return;
    Rgba& dst = at(x, y);
    const float srcA = clamp01(colour.a * coverage);
    const float outA = srcA + dst.a * (1.f - srcA);
    if (outA <= 0.f)
        return;
    const float dstWeight = dst.a * (1.f - srcA);
    dst.r = (colour.r * srcA + dst.r * dstWeight) / outA;
    dst.g = (colour.g * srcA + dst.g * dstWeight) / outA;
    dst.b = (colour.b * srcA + dst.b * dstWeight) / outA;
    dst.a = outA;
}

PixelBox Canvas::clip(PixelBox box) const
{
    return {std::max(box.x0, 0), std::max(box.y0, 0), std::min(box.x1, w), std::min(box.y1, h)};
}

sf::Image Canvas::toImage(bool opaque) const
{
    sf::Image image({static_cast<unsigned>(w), static_cast<unsigned>(h)});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            const Rgba& c = at(x, y);
            const std::uint8_t alpha = opaque ? std::uint8_t{255} : toByte(c.a);
            // A fully transparent pixel keeps no colour, so identical pictures give identical bytes.
            const bool clear = alpha == 0;
            image.setPixel({static_cast<unsigned>(x), static_cast<unsigned>(y)},
                           sf::Color(clear ? 0 : toByte(c.r), clear ? 0 : toByte(c.g), clear ? 0 : toByte(c.b), alpha));
        }
    return image;
}
} // namespace assetgen
