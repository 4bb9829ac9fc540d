// The application icon: the bird, wing raised, flying across a round patch of the game's afternoon
// sky with an ink rim, so that it reads as the game at 48 px in a menu and at 256 px in a store.
#include "Bird.hpp"
#include "Pictures.hpp"

#include "../raster/Palette.hpp"

namespace assetgen::pictures
{
namespace
{
namespace pal = palette;

// In shares of the icon's size.
constexpr float skyRadius = 0.46f;
constexpr float birdSpan = 0.78f; // the bird's picture width
// The middle of the bird with its wing raised, in its own pixels: it fills only the picture's top half.
const Vec2 birdMiddle{16.5f, 6.f};

Rgba skyAt(float share)
{
    const Rgba stops[] = {pal::skyHigh, pal::skyMiddle, pal::skyLow, pal::skyHaze};
    return gradient(stops, share);
}
} // namespace

sf::Image icon(int size)
{
    const float side = static_cast<float>(size);
    Canvas canvas(size, size);
    const float scale = side * birdSpan / static_cast<float>(birdWidth);
    // The rim is as wide as the bird's own outline, so both scale together.
    const float rim = scale * pal::inkWidthSmall;
    const Vec2 centre{side / 2.f, side / 2.f};
    const float radius = side * skyRadius;
    const float skyTop = centre.y - radius;

    canvas.fill(
        canvas.bounds(), [&](Vec2 p) { return sdf::circle(p, centre, radius); }, pal::ink);
    canvas.paint(
        canvas.bounds(), [&](Vec2 p) { return sdf::circle(p, centre, radius - rim); },
        [&](Vec2 p) { return skyAt((p.y - skyTop) / (2.f * radius)); });

    paintBird(canvas, WingPose::Up, centre - birdMiddle * scale, scale);
    return canvas.toImage();
}
} // namespace assetgen::pictures
