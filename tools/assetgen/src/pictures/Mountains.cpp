// The mountain strip: three ranges, each nearer one darker, greener and sharper-edged, the far ones
// snow-capped and sunk in haze at their feet, the nearest one rolling and crowned with firs. Faces
// that turn toward the upper-left sun are lit, the others shaded, in flat facets like a painted
// backdrop. Everything is computed from the column modulo the strip's period, so the strip repeats
// exactly.
#include "Pictures.hpp"
#include "Ridges.hpp"

#include "../raster/Canvas.hpp"
#include "../raster/Noise.hpp"
#include "../raster/Palette.hpp"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

namespace assetgen::pictures
{
namespace
{
namespace pal = palette;

// The two far ranges: distinct peaks with a sunlit and a shaded face and snow on the tallest.
struct PeakStyle
{
    PeakRangeShape shape;
    Rgba lit;
    Rgba shade;
    float hazeDepth;  // depth below the crest at which the haze has fully risen
    float hazeAmount; // how much haze covers the range's foot
    float snowFrom;   // peaks taller than this (0..1 within the range) carry snow
    float snowDepth;  // how far below the summit the tallest peak's snow reaches
};

const PeakStyle farRange{
    {215.f, 195.f, 9, 301, 0.55f, 0.95f, 10.f}, pal::farRange, pal::farRangeShade, 170.f, 0.6f, 0.25f, 70.f};
const PeakStyle midRange{
    {300.f, 150.f, 12, 419, 0.75f, 1.2f, 8.f}, pal::midRange, pal::midRangeShade, 140.f, 0.45f, 0.55f, 45.f};
constexpr float farLitAmount = 0.3f;
constexpr float midLitAmount = 0.4f;
constexpr float faceEdge = 1.5f; // px over which a ridge line turns from light to shade
constexpr float meanderScale = 1.f / 45.f;
constexpr float meanderAmount = 0.16f;

// Gullies fan out from each summit down both faces.
constexpr float gullyFan = 7.f;
constexpr float gullyScaleDown = 0.015f;
constexpr float gullyThreshold = 0.6f;
constexpr float gullyStrength = 1.6f;
constexpr float gullyOffset = 6.f;
constexpr std::uint32_t gullySeed = 97;
constexpr float gullyInk = 0.15f; // gullies are a touch inkier than the shaded face

constexpr float snowRaggedness = 16.f;
constexpr std::uint32_t snowSeed = 811;
constexpr float snowGrain = 1.f / 6.f;

// The near range: low, rounded, green hills.
const RidgeShape nearHills{350.f, 62.f, 260.f, 577, 3, 0.8f};
constexpr float hillLitAmount = 0.3f;
constexpr float hillFullLightSlope = 0.5f;
constexpr float hillHazeDepth = 80.f;
constexpr float hillHazeAmount = 0.f;

// Firs along the near range: a dense row on the crest and scattered ones down the slope.
constexpr int firCount = 230;
constexpr std::uint32_t firSeed = 1223;
constexpr float firMinHeight = 13.f;
constexpr float firMaxHeight = 30.f;
constexpr float firWidthRatio = 0.38f;
constexpr float firMaxSink = 48.f;   // how far below the crest a fir may stand
constexpr float firBand = 32.f;      // rows above the crest that may hold a fir's tip
constexpr float firSinkCurve = 2.2f; // most firs stand near the crest
constexpr float firJitter = 0.9f;    // how far a fir strays within its share of the strip
// Each fir has two tiers: the upper tier's shoulders, as fractions of its width and height.
constexpr float tierShoulder = 0.55f;
constexpr float tierWaist = 0.3f;
constexpr float tierHeight = 0.55f;
// The ground darkens toward the strip's bottom edge, the nearest and shadiest part of the scene.
constexpr float groundShadeStart = 330.f;
constexpr float groundShadeAmount = 0.4f;

struct Fir
{
    float x;
    float baseY;
    float height;
};

float wrappedOffset(float dx)
{
    const float half = static_cast<float>(mountainPeriod) * 0.5f;
    if (dx > half)
        return dx - static_cast<float>(mountainPeriod);
    if (dx < -half)
        return dx + static_cast<float>(mountainPeriod);
    return dx;
}

// Noise that repeats every mountainPeriod columns.
float periodicNoise(int column, float y, float scaleX, float scaleY, std::uint32_t seed, int octaves)
{
    const int cells = std::max(1, static_cast<int>(std::lround(static_cast<float>(mountainPeriod) * scaleX)));
    const float u = static_cast<float>(column) * static_cast<float>(cells) / static_cast<float>(mountainPeriod);
    return fractalNoise(u, y * scaleY, seed, octaves, cells);
}

Rgba peakColour(const PeakStyle& style, float litAmount, const PeakRange& range, int column, float y)
{
    // The creases between mountains and the ridge lines down their middles meander as they descend.
    const float px = static_cast<float>(column) + 0.5f;
    const float depth = y - range.crest(column);
    const Peak& crestPeak = range.ownerAt(px);
    const float creaseShift = (valueNoise(y * meanderScale, 0.f, crestPeak.id) - 0.5f) * meanderAmount * depth;
    const Peak& peak = range.ownerAt(px + creaseShift);
    const float belowSummit = y - peak.top;
    const float ridgeShift =
        (valueNoise(belowSummit * meanderScale, 1.f, peak.id) - 0.5f) * meanderAmount * belowSummit;
    const float dx = range.wrapped(px - peak.x) - peak.lean * belowSummit - ridgeShift;
    const float facing = std::clamp(-dx / faceEdge, -1.f, 1.f);
    const Rgba lit = mix(style.lit, pal::sunGlow, litAmount);
    Rgba c = mix(style.shade, lit, facing * 0.5f + 0.5f);

    const float fan = dx / (belowSummit + gullyOffset);
    const float gully = valueNoise(fan * gullyFan, belowSummit * gullyScaleDown, gullySeed);
    c = mix(c, mix(style.shade, pal::ink, gullyInk), clamp01((gully - gullyThreshold) * gullyStrength));

    if (peak.tallness > style.snowFrom)
    {
        const float ragged = (periodicNoise(column, y, snowGrain, snowGrain, snowSeed, 3) - 0.5f) * snowRaggedness;
        const float reach = (peak.tallness - style.snowFrom) / (1.f - style.snowFrom) * style.snowDepth;
        c = mix(c, facing >= 0.f ? pal::snow : pal::snowShade, clamp01(reach - belowSummit - ragged));
    }
    return mix(c, pal::skyHaze, style.hazeAmount * smoothstep(0.f, style.hazeDepth, depth));
}

Rgba hillColour(const std::vector<float>& crest, int column, float y)
{
    const float depth = y - crest[static_cast<std::size_t>(column)];
    const float facing = ridgeFacing(crest, column, depth, mountainPeriod, hillFullLightSlope);
    const Rgba lit = mix(pal::nearRange, pal::sunGlow, hillLitAmount);
    const Rgba c = facing >= 0.f ? mix(pal::nearRange, lit, facing) : mix(pal::nearRange, pal::nearRangeShade, -facing);
    return mix(c, pal::skyHaze, hillHazeAmount * smoothstep(0.f, hillHazeDepth, depth));
}

std::vector<Fir> plantFirs(const std::vector<float>& nearCrest)
{
    Rng rng(firSeed);
    std::vector<Fir> firs;
    const float spacing = static_cast<float>(mountainPeriod) / static_cast<float>(firCount);
    for (int i = 0; i < firCount; ++i)
    {
        const float x = (static_cast<float>(i) + rng.range(0.f, firJitter)) * spacing;
        const int column = static_cast<int>(x) % mountainPeriod;
        const float sink = std::pow(rng.unit(), firSinkCurve) * firMaxSink;
        firs.push_back({x, nearCrest[static_cast<std::size_t>(column)] + sink, rng.range(firMinHeight, firMaxHeight)});
    }
    // Draw the higher (farther) firs first so the lower ones overlap them.
    std::sort(firs.begin(), firs.end(), [](const Fir& a, const Fir& b) { return a.baseY < b.baseY; });
    return firs;
}

// A fir's signed distance: a slim triangle with two notched tiers.
float firDistance(const Fir& fir, Vec2 p)
{
    const float dx = wrappedOffset(p.x - fir.x);
    const float h = fir.height;
    const float w = h * firWidthRatio;
    const Vec2 corners[] = {
        {0.f, -h}, {w * tierShoulder, -h * tierHeight}, {w * tierWaist, -h * tierHeight},    {w, 0.f},
        {-w, 0.f}, {-w * tierWaist, -h * tierHeight},   {-w * tierShoulder, -h * tierHeight}};
    return sdf::polygon({dx, p.y - fir.baseY}, corners);
}

Rgba blendOver(Rgba under, Rgba over, float coverage)
{
    return under.a > 0.f ? mix(under, over, coverage) : withAlpha(over, coverage);
}
} // namespace

sf::Image mountains()
{
    const PeakRange far(farRange.shape, mountainPeriod);
    const PeakRange mid(midRange.shape, mountainPeriod);
    const std::vector<float> nearCrest = ridgeCrest(nearHills, mountainPeriod, mountainPeriod);
    const std::vector<Fir> firs = plantFirs(nearCrest);

    Canvas canvas(mountainWidth, mountainHeight);
    for (int x = 0; x < mountainWidth; ++x)
    {
        const int column = x % mountainPeriod;
        const auto col = static_cast<std::size_t>(column);
        // Only the firs wide enough to reach this column, still in back-to-front order.
        std::vector<Fir> firsHere;
        std::copy_if(firs.begin(), firs.end(), std::back_inserter(firsHere),
                     [column](const Fir& fir) {
                         return std::abs(wrappedOffset(static_cast<float>(column) + 0.5f - fir.x)) <=
                                fir.height * firWidthRatio + 1.f;
                     });
        for (int y = 0; y < mountainHeight; ++y)
        {
            const float py = static_cast<float>(y) + 0.5f;
            Rgba c{0.f, 0.f, 0.f, 0.f};
            if (const float cover = clamp01(py + 0.5f - far.crest(column)); cover > 0.f)
                c = blendOver(c, peakColour(farRange, farLitAmount, far, column, py), cover);
            if (const float cover = clamp01(py + 0.5f - mid.crest(column)); cover > 0.f)
                c = blendOver(c, peakColour(midRange, midLitAmount, mid, column, py), cover);
            if (const float cover = clamp01(py + 0.5f - nearCrest[col]); cover > 0.f)
                c = blendOver(c, hillColour(nearCrest, column, py), cover);

            const float nearTop = nearCrest[col];
            if (py > nearTop - firBand && py < nearTop + firMaxSink + 1.f)
            {
                const Vec2 p{static_cast<float>(column) + 0.5f, py};
                for (const Fir& fir : firsHere)
                {
                    const float coverage = clamp01(0.5f - firDistance(fir, p));
                    if (coverage <= 0.f)
                        continue;
                    // The sunward half of each fir catches the light.
                    const Rgba tree = wrappedOffset(p.x - fir.x) < 0.f ? pal::forestLit : pal::forest;
                    c = blendOver(c, tree, coverage);
                }
            }
            if (c.a > 0.f)
                c = mix(c, withAlpha(pal::forest, c.a),
                        groundShadeAmount * smoothstep(groundShadeStart, mountainHeight, py));
            canvas.at(x, y) = c;
        }
    }
    return canvas.toImage();
}
} // namespace assetgen::pictures
