#include "Ridges.hpp"

#include "../raster/Geometry.hpp"
#include "../raster/Noise.hpp"

#include <algorithm>
#include <cmath>

namespace assetgen
{
namespace
{
constexpr float octaveFalloff = 0.45f;
constexpr float minSpan = 2.f;
constexpr float spanPerDepth = 0.6f;
constexpr float maxSpan = 90.f;

int wrapColumn(int x, int width, int period)
{
    if (period > 0)
    {
        x %= period;
        return x < 0 ? x + period : x;
    }
    return std::clamp(x, 0, width - 1);
}
} // namespace

std::vector<float> ridgeCrest(const RidgeShape& shape, int width, int period)
{
    // The noise lattice gets a whole number of cells per period so that it wraps exactly.
    const int cells = period > 0 ? std::max(1, static_cast<int>(std::lround(period / shape.peakSpacing))) : 0;
    const float cellWidth = period > 0 ? static_cast<float>(period) / static_cast<float>(cells) : shape.peakSpacing;
    std::vector<float> crest(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
    {
        const int column = period > 0 ? x % period : x;
        float sum = 0.f;
        float amplitude = 1.f;
        float total = 0.f;
        float u = static_cast<float>(column) / cellWidth;
        int octavePeriod = cells;
        for (int o = 0; o < shape.octaves; ++o)
        {
            // Ridged noise: folding the noise about its middle makes sharp crests.
            const float n = valueNoise(u, 0.f, shape.seed + static_cast<std::uint32_t>(o), octavePeriod);
            sum += amplitude * std::pow(1.f - std::abs(2.f * n - 1.f), shape.sharpness);
            total += amplitude;
            amplitude *= octaveFalloff;
            u *= 2.f;
            octavePeriod *= 2;
        }
        crest[static_cast<std::size_t>(x)] = shape.baseY - shape.height * (sum / total);
    }
    return crest;
}

float ridgeFacing(const std::vector<float>& crest, int x, float depth, int period, float fullLightSlope)
{
    const int width = static_cast<int>(crest.size());
    const int span = static_cast<int>(std::clamp(minSpan + depth * spanPerDepth, minSpan, maxSpan));
    const float left = crest[static_cast<std::size_t>(wrapColumn(x - span, width, period))];
    const float right = crest[static_cast<std::size_t>(wrapColumn(x + span, width, period))];
    // y grows downward: a crest that climbs toward the right (right < left) faces the left.
    const float slope = (left - right) / static_cast<float>(2 * span);
    return std::clamp(slope / fullLightSlope, -1.f, 1.f);
}
} // namespace assetgen

namespace assetgen
{
namespace
{
constexpr float minTallness = 0.45f;
constexpr float peakJitter = 0.8f;
constexpr float maxLean = 0.35f;
constexpr float cragCellWidth = 9.f;
constexpr int cragOctaves = 3;
} // namespace

PeakRange::PeakRange(const PeakRangeShape& shape, int period) : period(period), crestY(static_cast<std::size_t>(period))
{
    Rng rng(shape.seed);
    const float spacing = static_cast<float>(period) / static_cast<float>(shape.peakCount);
    for (int i = 0; i < shape.peakCount; ++i)
    {
        const float tallness = rng.range(minTallness, 1.f);
        Peak peak{};
        peak.x = (static_cast<float>(i) + rng.range(0.f, peakJitter)) * spacing;
        peak.top = shape.baseY - shape.height * tallness;
        peak.leftSlope = rng.range(shape.minSlope, shape.maxSlope);
        peak.rightSlope = rng.range(shape.minSlope, shape.maxSlope);
        peak.lean = rng.range(-maxLean, maxLean);
        peak.tallness = (tallness - minTallness) / (1.f - minTallness);
        peak.id = shape.seed + static_cast<std::uint32_t>(i);
        peaks.push_back(peak);
    }
    const int cragCells = std::max(1, static_cast<int>(std::lround(static_cast<float>(period) / cragCellWidth)));
    for (int x = 0; x < period; ++x)
    {
        const float px = static_cast<float>(x) + 0.5f;
        const float best = std::min(coneAt(ownerAt(px), px), shape.baseY);
        const float u = static_cast<float>(x) * static_cast<float>(cragCells) / static_cast<float>(period);
        const float crag = 1.f - std::abs(2.f * fractalNoise(u, 0.f, shape.seed + 1, cragOctaves, cragCells) - 1.f);
        crestY[static_cast<std::size_t>(x)] = best + crag * shape.cragDepth;
    }
}

float PeakRange::coneAt(const Peak& peak, float x) const
{
    const float dx = wrapped(x - peak.x);
    return peak.top + std::abs(dx) * (dx < 0.f ? peak.leftSlope : peak.rightSlope);
}

const Peak& PeakRange::ownerAt(float x) const
{
    std::size_t owner = 0;
    for (std::size_t i = 1; i < peaks.size(); ++i)
        if (coneAt(peaks[i], x) < coneAt(peaks[owner], x))
            owner = i;
    return peaks[owner];
}

float PeakRange::wrapped(float dx) const
{
    const float p = static_cast<float>(period);
    if (dx > p * 0.5f)
        return dx - p;
    if (dx < -p * 0.5f)
        return dx + p;
    return dx;
}
} // namespace assetgen
