#include "Noise.hpp"

#include <cmath>

namespace assetgen
{
namespace
{
constexpr std::uint64_t golden = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t mixA = 0xBF58476D1CE4E5B9ull;
constexpr std::uint64_t mixB = 0x94D049BB133111EBull;
constexpr unsigned mantissaBits = 24;
constexpr float mantissaScale = 1.f / static_cast<float>(1u << mantissaBits);
constexpr float octaveGain = 0.5f;
constexpr float octaveLacunarity = 2.f;

std::uint64_t finalise(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * mixA;
    z = (z ^ (z >> 27)) * mixB;
    return z ^ (z >> 31);
}

float toUnit(std::uint64_t bits)
{
    return static_cast<float>(bits >> (64 - mantissaBits)) * mantissaScale;
}

std::int64_t wrap(std::int64_t i, int period)
{
    if (period <= 0)
        return i;
    const std::int64_t m = i % period;
    return m < 0 ? m + period : m;
}

float fade(float t)
{
    return t * t * t * (t * (t * 6.f - 15.f) + 10.f);
}
} // namespace

std::uint64_t Rng::next()
{
    state += golden;
    return finalise(state);
}

float Rng::unit()
{
    return toUnit(next());
}

float latticeHash(std::int64_t ix, std::int64_t iy, std::uint32_t seed)
{
    const std::uint64_t key = static_cast<std::uint64_t>(ix) * golden ^ finalise(static_cast<std::uint64_t>(iy) + seed);
    return toUnit(finalise(key + seed));
}

float valueNoise(float x, float y, std::uint32_t seed, int periodX)
{
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const auto ix = static_cast<std::int64_t>(fx);
    const auto iy = static_cast<std::int64_t>(fy);
    const float tx = fade(x - fx);
    const float ty = fade(y - fy);
    const std::int64_t x0 = wrap(ix, periodX);
    const std::int64_t x1 = wrap(ix + 1, periodX);
    const float top = latticeHash(x0, iy, seed) + (latticeHash(x1, iy, seed) - latticeHash(x0, iy, seed)) * tx;
    const float bottom =
        latticeHash(x0, iy + 1, seed) + (latticeHash(x1, iy + 1, seed) - latticeHash(x0, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

float fractalNoise(float x, float y, std::uint32_t seed, int octaves, int periodX)
{
    float sum = 0.f;
    float amplitude = 1.f;
    float total = 0.f;
    for (int o = 0; o < octaves; ++o)
    {
        sum += amplitude * valueNoise(x, y, seed + static_cast<std::uint32_t>(o), periodX);
        total += amplitude;
        amplitude *= octaveGain;
        x *= octaveLacunarity;
        y *= octaveLacunarity;
        periodX *= 2;
    }
    return sum / total;
}
} // namespace assetgen
