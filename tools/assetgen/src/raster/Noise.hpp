#pragma once

#include <cstdint>

// Deterministic randomness: a seeded generator and hash-based value noise. Nothing reads the clock,
// so the same seeds always paint and play the same assets.
namespace assetgen
{
// SplitMix64: tiny, fast, and good enough for art and audio noise.
class Rng
{
public:
    explicit Rng(std::uint64_t seed) : state(seed) {}

    std::uint64_t next();
    // Uniform in [0, 1).
    float unit();
    // Uniform in [lo, hi).
    float range(float lo, float hi) { return lo + (hi - lo) * unit(); }

private:
    std::uint64_t state;
};

// A hash of lattice coordinates and a seed, uniform in [0, 1).
float latticeHash(std::int64_t ix, std::int64_t iy, std::uint32_t seed);

// Smooth value noise in [0, 1). A period > 0 wraps the lattice in x after that many cells, so
// the noise repeats exactly: that is what lets the mountain strip tile.
float valueNoise(float x, float y, std::uint32_t seed, int periodX = 0);

// Fractal sum of value noise octaves, normalised to [0, 1). Each octave doubles the frequency and
// the x period, so a periodic base stays periodic.
float fractalNoise(float x, float y, std::uint32_t seed, int octaves, int periodX = 0);
} // namespace assetgen
