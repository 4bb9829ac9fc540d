// Soft cumulus clouds: a cluster of round puffs over a flat base, their edges frayed by noise and
// faded to nothing well inside the picture. The side toward the sun (upper left) is brightest; the
// underside and the far side turn lavender.
#include "Pictures.hpp"

#include "../raster/Canvas.hpp"
#include "../raster/Noise.hpp"
#include "../raster/Palette.hpp"

#include <algorithm>
#include <array>
#include <vector>

namespace assetgen::pictures
{
namespace
{
namespace pal = palette;

struct CloudPlan
{
    int width;
    int height;
    int puffs;
    std::uint32_t seed;
};
constexpr std::array<CloudPlan, cloudCount> plans{{
    {260, 112, 6, 11},
    {200, 92, 5, 23},
    {290, 124, 7, 37},
}};

constexpr float margin = 14.f;        // clear border: the puffs' soft edges end inside the picture
constexpr float baseFraction = 0.74f; // the flat underside, as a fraction of the height
constexpr float puffBlend = 14.f;     // how softly neighbouring puffs merge
constexpr float edgeSoftness = 5.f;   // width of the fade at the cloud's edge
constexpr float frayScale = 1.f / 16.f;
constexpr float frayDepth = 9.f;
constexpr float bodyAlpha = 0.97f;
constexpr float lightProbe = 18.f; // how far toward the sun a pixel looks to judge its light
constexpr float undersideSpan = 26.f;
constexpr float undersideStrength = 0.55f;
// Puff sizes as fractions of the cloud's height: small at the ends, big in the middle, each varied.
constexpr float endPuffRadius = 0.2f;
constexpr float middlePuffRadius = 0.42f;
constexpr float puffSizeLow = 0.85f;
constexpr float puffSizeHigh = 1.1f;
// How far each puff's centre rises above the base, as a fraction of its radius.
constexpr float puffRiseLow = 0.45f;
constexpr float puffRiseHigh = 0.85f;

struct Puff
{
    Vec2 centre;
    float radius;
};

std::vector<Puff> arrangePuffs(const CloudPlan& plan)
{
    Rng rng(plan.seed);
    const float w = static_cast<float>(plan.width);
    const float h = static_cast<float>(plan.height);
    const float baseY = h * baseFraction;
    std::vector<Puff> puffs;
    for (int i = 0; i < plan.puffs; ++i)
    {
        // Puffs along the base, tallest in the middle, smaller toward both ends.
        const float t = (static_cast<float>(i) + 0.5f) / static_cast<float>(plan.puffs);
        const float middleness = 1.f - std::abs(2.f * t - 1.f);
        const float radius =
            lerp(h * endPuffRadius, h * middlePuffRadius, middleness) * rng.range(puffSizeLow, puffSizeHigh);
        const float x = lerp(margin + radius + edgeSoftness, w - margin - radius - edgeSoftness, t);
        const float y = std::max(baseY - radius * rng.range(puffRiseLow, puffRiseHigh), margin + radius + frayDepth);
        puffs.push_back({{x, y}, radius});
    }
    return puffs;
}

float cloudDistance(const std::vector<Puff>& puffs, float baseY, Vec2 p, std::uint32_t seed)
{
    float d = sdf::circle(p, puffs.front().centre, puffs.front().radius);
    for (std::size_t i = 1; i < puffs.size(); ++i)
        d = sdf::smoothUnion(d, sdf::circle(p, puffs[i].centre, puffs[i].radius), puffBlend);
    // Cut the underside flat, then fray the whole edge a little.
    d = std::max(d, p.y - baseY);
    return d + (fractalNoise(p.x * frayScale, p.y * frayScale, seed, 3) - 0.5f) * frayDepth;
}
} // namespace

sf::Image cloud(int variant)
{
    const CloudPlan& plan = plans[static_cast<std::size_t>(variant)];
    const std::vector<Puff> puffs = arrangePuffs(plan);
    const float baseY = static_cast<float>(plan.height) * baseFraction;
    Canvas canvas(plan.width, plan.height);
    for (int y = 0; y < plan.height; ++y)
        for (int x = 0; x < plan.width; ++x)
        {
            const Vec2 p{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
            const float d = cloudDistance(puffs, baseY, p, plan.seed);
            const float alpha = bodyAlpha * smoothstep(edgeSoftness, -edgeSoftness, d);
            if (alpha <= 0.f)
                continue;
            // Deep inside along the direction of the sun means shaded; near the lit rim means bright.
            const float towardSun = cloudDistance(puffs, baseY, p + pal::towardLight * lightProbe, plan.seed);
            const float shade = smoothstep(4.f, -lightProbe, towardSun);
            Rgba c = mix(pal::cloudLit, pal::cloudShade, shade);
            const float under = smoothstep(baseY - undersideSpan, baseY, p.y);
            c = mix(c, pal::cloudDeep, under * undersideStrength);
            canvas.at(x, y) = withAlpha(c, alpha);
        }
    return canvas.toImage();
}
} // namespace assetgen::pictures
