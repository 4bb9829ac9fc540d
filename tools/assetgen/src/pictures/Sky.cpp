// The daytime backdrop: a sky that deepens upward, a sun glowing in the upper left (where all the
// light comes from), high wisps of cirrus, and a last hazy ridge far behind the mountain strip.
#include "Pictures.hpp"
#include "Ridges.hpp"
#include "SkyTools.hpp"

#include "../raster/Canvas.hpp"
#include "../raster/Noise.hpp"
#include "../raster/Palette.hpp"

#include <cmath>

namespace assetgen::pictures
{
namespace
{
namespace pal = palette;

constexpr float horizonY = 640.f; // the haze is thickest here, behind the mountains
constexpr float gradientCurve = 1.25f;
const Vec2 sunCentre{190.f, 140.f};
constexpr float sunRadius = 34.f;
constexpr float sunCoreReach = 80.f;
constexpr float sunCoreStrength = 0.45f;
constexpr float sunHaloReach = 320.f;
constexpr float sunHaloStrength = 0.28f;
constexpr float sunDiscAlpha = 0.92f;

// Cirrus: long, thin, faint streaks, kept out of the game's HUD corner (top right).
constexpr std::uint32_t cirrusSeed = 71;
constexpr float cirrusScaleX = 1.f / 240.f;
constexpr float cirrusScaleY = 1.f / 18.f;
constexpr float cirrusThreshold = 0.55f;
constexpr float cirrusMaxAlpha = 0.35f;
constexpr float cirrusTopY = 180.f;
constexpr float cirrusBottomY = 360.f;
constexpr float cirrusFadeSpan = 70.f;

// The farthest ridge, barely darker than the haze it stands in.
const RidgeShape distantRidge{520.f, 90.f, 210.f, 905, 4, 1.4f};
constexpr float distantRidgeAlpha = 0.55f;
constexpr float distantRidgeFade = 90.f;
constexpr std::uint32_t ditherSeed = 17;

Rgba daySky(float y)
{
    const Rgba stops[] = {pal::skyZenith, pal::skyHigh, pal::skyMiddle, pal::skyLow, pal::skyHaze};
    return gradient(stops, std::pow(clamp01(y / horizonY), gradientCurve));
}
} // namespace

sf::Image background()
{
    Canvas canvas(windowWidth, windowHeight);
    const std::vector<float> ridge = ridgeCrest(distantRidge, windowWidth, 0);
    for (int y = 0; y < windowHeight; ++y)
        for (int x = 0; x < windowWidth; ++x)
        {
            const Vec2 p{static_cast<float>(x), static_cast<float>(y)};
            Rgba c = daySky(p.y);

            const float sunDistance = length(p - sunCentre);
            c = mix(c, pal::sunGlow,
                    clamp01(sunCoreStrength * std::exp(-sunDistance / sunCoreReach) +
                            sunHaloStrength * std::exp(-sunDistance / sunHaloReach)));

            const float band = smoothstep(cirrusTopY - cirrusFadeSpan, cirrusTopY, p.y) *
                               (1.f - smoothstep(cirrusBottomY, cirrusBottomY + cirrusFadeSpan, p.y));
            if (band > 0.f)
            {
                const float n = fractalNoise(p.x * cirrusScaleX, p.y * cirrusScaleY, cirrusSeed, 5);
                c = mix(c, pal::cloudLit, cirrusMaxAlpha * band * smoothstep(cirrusThreshold, 1.f, n));
            }

            const float crest = ridge[static_cast<std::size_t>(x)];
            if (p.y >= crest)
            {
                const Rgba hill = mix(pal::farRange, pal::skyHaze, smoothstep(crest, crest + distantRidgeFade, p.y));
                c = mix(c, hill, distantRidgeAlpha * clamp01(p.y - crest + 0.5f));
            }
            canvas.at(x, y) = c;
        }
    canvas.fill(
        canvas.bounds(), [](Vec2 p) { return sdf::circle(p, sunCentre, sunRadius); },
        withAlpha(pal::sunGlow, sunDiscAlpha));
    addDither(canvas, ditherSeed);
    return canvas.toImage(true);
}
} // namespace assetgen::pictures
