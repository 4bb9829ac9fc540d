#pragma once

#include "Colour.hpp"
#include "Geometry.hpp"

#include <SFML/Graphics/Image.hpp>

#include <vector>

namespace assetgen
{
// A picture being painted, in floating point so that layers blend without banding; it becomes an
// sf::Image (8 bits a channel) only when it is finished.
class Canvas
{
public:
    Canvas(int width, int height, Rgba fill = {0.f, 0.f, 0.f, 0.f});

    int width() const { return w; }
    int height() const { return h; }
    PixelBox bounds() const { return {0, 0, w, h}; }

    Rgba& at(int x, int y) { return pixels[index(x, y)]; }
    const Rgba& at(int x, int y) const { return pixels[index(x, y)]; }

    // Lays a colour over a pixel ("source over"), its alpha scaled by coverage.
    void blend(int x, int y, Rgba colour, float coverage = 1.f);

    // Paints the shape whose signed distance is shape(p), coloured by shader(p), over the pixels of
    // box; p is a pixel's centre. The edge is anti-aliased over one pixel.
    template <class Shape, class Shader> void paint(PixelBox box, Shape shape, Shader shader)
    {
        const PixelBox b = clip(box);
        for (int y = b.y0; y < b.y1; ++y)
            for (int x = b.x0; x < b.x1; ++x)
            {
                const Vec2 p{static_cast<float>(x) + pixelCentre, static_cast<float>(y) + pixelCentre};
                const float coverage = clamp01(pixelCentre - shape(p));
                if (coverage > 0.f)
                    blend(x, y, shader(p), coverage);
            }
    }

    template <class Shape> void fill(PixelBox box, Shape shape, Rgba colour)
    {
        paint(box, shape, [colour](Vec2) { return colour; });
    }

    // The finished picture. Opaque pictures pass opaque = true so that no rounding leaves a pixel
    // a shade short of 255.
    sf::Image toImage(bool opaque = false) const;

private:
    static constexpr float pixelCentre = 0.5f;

    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + x; }
    PixelBox clip(PixelBox box) const;

    int w;
    int h;
    std::vector<Rgba> pixels;
};
} // namespace assetgen
