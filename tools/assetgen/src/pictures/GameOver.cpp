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
// The HUD's corner: kept free of stars and anything else that would compete with the score.
constexpr float hudCornerLeft = 880.f;
constexpr float hudCornerBottom = 90.f;

const RidgeShape duskFar{640.f, 150.f, 230.f, 733, 5, 1.6f};
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
    const std::vector<float> far = ridgeCrest(duskFar, windowWidth, 0);
    const std::vector<float> near = ridgeCrest(duskNear, windowWidth, 0);
    for (int y = 0; y < windowHeight; ++y)
        for (int x = 0; x < windowWidth; ++x)
        {
            const Vec2 p{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
            Rgba c = duskSky(p);
            const float farTop = far[static_cast<std::size_t>(x)];
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
        const float radius = rng.range(0.5f, starMaxRadius);
        const float brightness = rng.range(0.35f, 1.f) * (1.f - centre.y / starFieldBottom);
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
    const FontFace font(titleFont);
    paintCentred(canvas, font, "GAME OVER", titleSize, titleBaseline, titleOutline, titleStyle);
    paintCentred(canvas, font, "Press R to play again", promptSize, promptBaseline, promptOutline, promptStyle);
    addDither(canvas, ditherSeed);
    return canvas.toImage(true);
}
} // namespace assetgen::pictures
