// The bird, flying right: a round marigold body that fills the rules' 33 x 12 box, a cream belly,
// a big eye and an orange beak at the front, tail feathers at the back. The wing is raised over
// the back in one picture and hangs below the body in the other, so alternating them flaps.
// Ink outline one pixel wide; light from the upper left.
#include "Bird.hpp"
#include "Pictures.hpp"

#include "../raster/Canvas.hpp"
#include "../raster/Palette.hpp"

#include <algorithm>

namespace assetgen::pictures
{
namespace
{
namespace pal = palette;

constexpr float outline = pal::inkWidthSmall;

// Body parts, in pixels of the 34 x 24 picture. Their outer ink edge meets the box's edges: the
// head reaches the top and bottom rows, the tail the left edge, the beak's tip column 32.
const Vec2 bodyCentre{15.5f, 6.8f};
const Vec2 bodyRadii{13.5f, 5.3f};
const Vec2 headCentre{25.5f, 6.f};
constexpr float headRadius = 6.f;
constexpr float neckBlend = 2.5f;
const Vec2 tail[] = {{0.f, 0.5f}, {9.f, 3.5f}, {9.f, 10.f}, {0.5f, 7.5f}};
const Vec2 beak[] = {{29.f, 3.6f}, {33.f, 6.6f}, {29.f, 9.2f}};
constexpr float bellyTop = 8.4f;
constexpr float bellySoftness = 1.4f;
constexpr float bellyBack = 9.f; // the belly's colour stops short of the tail
const Vec2 eyeCentre{26.6f, 4.5f};
constexpr float eyeRadius = 2.4f;
const Vec2 pupilCentre{27.5f, 4.6f};
constexpr float pupilRadius = 1.25f;
constexpr float beakSplitY = 6.6f;

// The wing raised over the back, its tip in the box's upper-left corner, and the wing lowered
// below the body, its tip near the bottom of the picture.
const Vec2 raisedWing[] = {{21.f, 8.f}, {17.f, 3.f}, {11.f, 0.2f}, {1.5f, 0.f},
                           {4.f, 2.5f}, {3.f, 4.f},  {8.f, 5.f},   {10.f, 8.5f}};
const Vec2 loweredWing[] = {{8.5f, 6.f}, {20.f, 6.5f}, {17.5f, 13.5f}, {12.f, 23.f}, {7.5f, 17.5f}, {7.f, 10.f}};
// Feather lines across each wing, as segments.
struct Segment
{
    Vec2 a;
    Vec2 b;
};
const Segment raisedFeathers[] = {{{6.5f, 1.5f}, {11.f, 5.5f}}, {{11.5f, 2.f}, {15.f, 6.f}}};
const Segment loweredFeathers[] = {{{10.5f, 12.f}, {11.2f, 19.f}}, {{14.f, 11.f}, {13.5f, 18.f}}};
constexpr float featherHalfWidth = 0.35f;
constexpr float bodyLightReach = 8.5f; // px over which the body turns from lit to shaded
constexpr float wingLightReach = 6.f;

// The bird's own pixel grid laid onto a canvas: every shape and colour below is described in the
// bird's pixels, and painted at whatever size the canvas wants it.
class Brush
{
public:
    Brush(Canvas& canvas, Vec2 origin, float scale) : canvas(canvas), origin(origin), scale(scale) {}

    template <class Shape, class Shader> void paint(Shape shape, Shader shader)
    {
        canvas.paint(
            canvas.bounds(), [&](Vec2 p) { return shape(toBird(p)) * scale; },
            [&](Vec2 p) { return shader(toBird(p)); });
    }
    template <class Shape> void fill(Shape shape, Rgba colour)
    {
        paint(shape, [colour](Vec2) { return colour; });
    }

private:
    Vec2 toBird(Vec2 p) const { return (p - origin) * (1.f / scale); }

    Canvas& canvas;
    Vec2 origin;
    float scale;
};

float bodyDistance(Vec2 p)
{
    const float round =
        sdf::smoothUnion(sdf::ellipse(p, bodyCentre, bodyRadii), sdf::circle(p, headCentre, headRadius), neckBlend);
    return std::min(round, sdf::polygon(p, tail));
}

// Light falling from the upper left across a rounded part centred at `centre`.
float lightAt(Vec2 p, Vec2 centre, float reach)
{
    return dot((p - centre) * (1.f / reach), pal::towardLight);
}

Rgba plumageAt(Vec2 p)
{
    const float light = lightAt(p, bodyCentre, bodyLightReach);
    const Rgba base = light >= 0.f ? mix(pal::plumage, pal::plumageLit, clamp01(light))
                                   : mix(pal::plumage, pal::plumageShade, clamp01(-light));
    return mix(base, pal::belly, smoothstep(bellyTop, bellyTop + bellySoftness, p.y) * (p.x > bellyBack ? 1.f : 0.f));
}

template <std::size_t N, std::size_t F>
void paintWing(Brush& brush, const Vec2 (&shape)[N], const Segment (&feathers)[F], Vec2 lightCentre)
{
    const auto wing = [&shape](Vec2 p) { return sdf::polygon(p, shape); };
    brush.fill(wing, pal::ink);
    brush.paint([&](Vec2 p) { return wing(p) + outline; },
                [lightCentre](Vec2 p)
                {
                    const float light = lightAt(p, lightCentre, wingLightReach);
                    return light >= 0.f ? mix(pal::wing, pal::wingLit, clamp01(light))
                                        : mix(pal::wing, pal::wingShade, clamp01(-light));
                });
    for (const Segment& s : feathers)
        brush.fill([&](Vec2 p) { return std::max(sdf::capsule(p, s.a, s.b, featherHalfWidth), wing(p) + outline); },
                   pal::wingShade);
}
} // namespace

void paintBird(Canvas& canvas, WingPose pose, Vec2 origin, float scale)
{
    Brush brush(canvas, origin, scale);
    const Vec2 loweredLight{13.f, 10.f};
    const Vec2 raisedLight{10.f, 3.f};
    if (pose == WingPose::Down)
        paintWing(brush, loweredWing, loweredFeathers, loweredLight); // behind the body

    brush.fill([](Vec2 p) { return sdf::polygon(p, beak); }, pal::ink);
    brush.paint([](Vec2 p) { return sdf::polygon(p, beak) + outline; },
                [](Vec2 p) { return p.y > beakSplitY ? pal::beakShade : pal::beak; });
    brush.fill(bodyDistance, pal::ink);
    brush.paint([](Vec2 p) { return bodyDistance(p) + outline; }, plumageAt);

    brush.fill([](Vec2 p) { return sdf::circle(p, eyeCentre, eyeRadius + outline * 0.5f); }, pal::ink);
    brush.fill([](Vec2 p) { return sdf::circle(p, eyeCentre, eyeRadius - outline * 0.5f); }, pal::eyeWhite);
    brush.fill([](Vec2 p) { return sdf::circle(p, pupilCentre, pupilRadius); }, pal::ink);

    if (pose == WingPose::Up)
        paintWing(brush, raisedWing, raisedFeathers, raisedLight); // over the back
}

sf::Image bird(WingPose pose)
{
    Canvas canvas(birdWidth, birdHeight);
    paintBird(canvas, pose, {0.f, 0.f}, 1.f);
    return canvas.toImage();
}
} // namespace assetgen::pictures
