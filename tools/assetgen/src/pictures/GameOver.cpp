// The game-over picture: the same world at dusk. The sun has just set behind the ranges, the first
// stars are out, and the title stands in the middle with the way back to play beneath it. The top
// right stays an even stretch of sky, because the game writes its score there.
#include "Pictures.hpp"
#include "Ridges.hpp"
#include "SkyTools.hpp"

#include "../raster/Canvas.hpp"
#include "../raster/Noise.hpp"
#include "../raster/Palette.hpp"
#include "../raster/TextPainter.hpp"
#include "../raster/TextRaster.hpp"

#include <algorithm>
#include <cmath>

namespace assetgen::pictures
{
namespace
{
namespace pal = palette;

constexpr float duskHorizonY = 600.f;
const Vec2 sunsetCentre{600.f, 610.f};
constexpr float sunsetGlowReach = 240.f;
constexpr float sunsetGlowStrength = 0.5f;

constexpr int starCount = 90;
constexpr std::uint32_t starSeed = 313;
constexpr float starFieldBottom = 330.f;
constexpr float starMaxRadius = 1.3f;
constexpr float starMinRadius = 0.5f;
constexpr float starMinBrightness = 0.35f;
// The HUD's corner: kept free of stars and anything else that would compete with the score.
constexpr float hudCornerLeft = 880.f;
constexpr float hudCornerBottom = 90.f;

const PeakRangeShape duskFar{655.f, 150.f, 7, 733, 0.6f, 1.f, 8.f};
const RidgeShape duskNear{720.f, 90.f, 260.f, 739, 3, 1.f};
constexpr float farRimLight = 0.35f;
constexpr float rimLightDepth = 6.f;

constexpr int titleSize = 150;
constexpr int titleBaseline = 330;
constexpr float titleOutline = 7.f;
constexpr int promptSize = 48;
constexpr int promptBaseline = 470;
constexpr float promptOutline = 4.f;
constexpr int textPadding = 14;
constexpr std::uint32_t ditherSeed = 29;

// A few of the bird's feathers drifting down: centre, length, width, angle (radians).
struct Feather
{
    Vec2 centre;
    float length;
    float width;
    float angle;
};
constexpr Feather feathers[] = {
    {{215.f, 470.f}, 74.f, 22.f, 0.9f},
    {{1010.f, 395.f}, 60.f, 18.f, -0.6f},
    {{310.f, 140.f}, 46.f, 14.f, 2.3f},
};
constexpr float featherOutline = 2.f;
constexpr float quillHalfWidth = 0.9f;
constexpr float quillOverhang = 6.f; // the bare quill beyond the vane
constexpr float quillReach = 0.8f;   // the quill stops short of the vane's tip
constexpr int barbsPerSide = 3;
constexpr float barbsFrom = -0.6f; // first and last barb roots, as fractions of the half length
constexpr float barbsTo = 0.3f;
constexpr float barbSlant = 0.7f; // barbs sweep back toward the quill's root
constexpr float barbHalfWidth = 0.6f;

const TextStyle titleStyle{pal::titleFill, pal::titleShade, pal::ink, titleOutline, {9.f, 10.f}, 0.55f};
const TextStyle promptStyle{pal::starlight, pal::titleFill, pal::ink, promptOutline, {4.f, 5.f}, 0.5f};

Rgba duskSky(Vec2 p)
{
    const Rgba stops[] = {pal::duskZenith, pal::duskHigh, pal::duskMiddle, pal::duskLow, pal::duskHorizon};
    const Rgba c = gradient(stops, clamp01(p.y / duskHorizonY));
    return mix(c, pal::duskHorizon, sunsetGlowStrength * std::exp(-length(p - sunsetCentre) / sunsetGlowReach));
}

void paintSky(Canvas& canvas)
{
    const PeakRange far(duskFar, windowWidth);
    const std::vector<float> near = ridgeCrest(duskNear, windowWidth, 0);
    for (int y = 0; y < windowHeight; ++y)
        for (int x = 0; x < windowWidth; ++x)
        {
            const Vec2 p{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
            Rgba c = duskSky(p);
            const float farTop = far.crest(x);
            const float farCover = clamp01(p.y + 0.5f - farTop);
            if (farCover > 0.f)
            {
                // The afterglow rims the far crest.
                const float rim = farRimLight * (1.f - smoothstep(0.f, rimLightDepth, p.y - farTop));
                c = mix(c, mix(pal::duskFarRange, pal::duskLow, rim), farCover);
            }
            const float nearCover = clamp01(p.y + 0.5f - near[static_cast<std::size_t>(x)]);
            if (nearCover > 0.f)
            {
                const float fall = smoothstep(near[static_cast<std::size_t>(x)], windowHeight, p.y);
                c = mix(c, mix(pal::duskNearRange, pal::duskGround, fall), nearCover);
            }
            canvas.at(x, y) = c;
        }
}

void paintStars(Canvas& canvas)
{
    Rng rng(starSeed);
    for (int i = 0; i < starCount; ++i)
    {
        const Vec2 centre{rng.range(0.f, windowWidth), rng.range(0.f, starFieldBottom)};
        const float radius = rng.range(starMinRadius, starMaxRadius);
        // Stars fade toward the glowing horizon.
        const float brightness = rng.range(starMinBrightness, 1.f) * (1.f - centre.y / starFieldBottom);
        if (centre.x > hudCornerLeft && centre.y < hudCornerBottom)
            continue;
        const int reach = static_cast<int>(radius) + 2;
        const PixelBox box{static_cast<int>(centre.x) - reach, static_cast<int>(centre.y) - reach,
                           static_cast<int>(centre.x) + reach + 1, static_cast<int>(centre.y) + reach + 1};
        canvas.fill(
            box, [centre, radius](Vec2 p) { return sdf::circle(p, centre, radius); },
            withAlpha(pal::starlight, brightness));
    }
}

// A feather's vane is a lens: the overlap of two circles, long along u and narrow across v.
void paintFeather(Canvas& canvas, const Feather& f)
{
    const float halfLength = f.length * 0.5f;
    const float halfWidth = f.width * 0.5f;
    const float radius = (halfLength * halfLength + halfWidth * halfWidth) / f.width;
    const Vec2 along{std::cos(f.angle), std::sin(f.angle)};
    const Vec2 across{-along.y, along.x};
    const auto local = [&](Vec2 p) { return Vec2{dot(p - f.centre, along), dot(p - f.centre, across)}; };
    const auto vane = [&](Vec2 p)
    {
        const Vec2 q = local(p);
        return std::max(sdf::circle(q, {0.f, radius - halfWidth}, radius),
                        sdf::circle(q, {0.f, halfWidth - radius}, radius));
    };
    const auto quill = [&](Vec2 p) {
        return sdf::capsule(local(p), {-halfLength - quillOverhang, 0.f}, {halfLength * quillReach, 0.f},
                            quillHalfWidth);
    };
    const int reach = static_cast<int>(halfLength + quillOverhang + featherOutline) + 2;
    const PixelBox box{static_cast<int>(f.centre.x) - reach, static_cast<int>(f.centre.y) - reach,
                       static_cast<int>(f.centre.x) + reach, static_cast<int>(f.centre.y) + reach};
    canvas.fill(
        box, [&](Vec2 p) { return std::min(vane(p), quill(p)) - featherOutline; }, pal::ink);
    // The half of the vane turned toward the light is the lighter one.
    const bool litSide = dot(across, pal::towardLight) > 0.f;
    canvas.paint(box, vane, [&](Vec2 p) { return (local(p).y > 0.f) == litSide ? pal::wingLit : pal::wing; });
    // Barbs: thin darker strokes from the quill out to the vane's edge, sweeping back.
    for (int side : {-1, 1})
        for (int i = 0; i < barbsPerSide; ++i)
        {
            const float u = halfLength * lerp(barbsFrom, barbsTo, static_cast<float>(i) / (barbsPerSide - 1));
            const Vec2 root{u, 0.f};
            const Vec2 tip{u - halfWidth * barbSlant, static_cast<float>(side) * halfWidth};
            canvas.fill(
                box, [&](Vec2 p) { return std::max(sdf::capsule(local(p), root, tip, barbHalfWidth), vane(p)); },
                pal::wingShade);
        }
    canvas.fill(box, quill, pal::belly);
}

void paintCentred(Canvas& canvas, const FontFace& font, std::string_view text, int size, int baseline, float padding,
                  const TextStyle& style)
{
    const TextMask mask = font.render(text, size, static_cast<int>(padding) + textPadding);
    paintText(canvas, mask, (windowWidth - mask.width) / 2, baseline, style);
}
} // namespace

sf::Image gameOver(const std::filesystem::path& titleFont)
{
    Canvas canvas(windowWidth, windowHeight);
    paintSky(canvas);
    paintStars(canvas);
    for (const Feather& feather : feathers)
        paintFeather(canvas, feather);
    const FontFace font(titleFont);
    paintCentred(canvas, font, "GAME OVER", titleSize, titleBaseline, titleOutline, titleStyle);
    paintCentred(canvas, font, "Press R to play again", promptSize, promptBaseline, promptOutline, promptStyle);
    addDither(canvas, ditherSeed);
    return canvas.toImage(true);
}
} // namespace assetgen::pictures
