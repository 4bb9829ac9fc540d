#pragma once

#include "Signal.hpp"

#include "../raster/Geometry.hpp"
#include "../raster/Noise.hpp"

#include <cmath>
#include <vector>

// The building blocks every sound is made from: oscillators, noise, envelopes and filters.
namespace assetgen::audio
{
constexpr float twoPi = 6.28318530718f;

// Deterministic white noise in -1..1.
class WhiteNoise
{
public:
    explicit WhiteNoise(std::uint64_t seed) : rng(seed) {}
    float next() { return rng.unit() * 2.f - 1.f; }

private:
    Rng rng;
};

// One cycle of a waveform built from harmonic amplitudes (index 0 = fundamental), read with linear
// interpolation. Only harmonics the notes can carry below Nyquist are used, so nothing aliases.
class Wavetable
{
public:
    explicit Wavetable(const std::vector<float>& harmonics);
    // phase in cycles, any value; the fractional part is used.
    float at(double phase) const;

private:
    std::vector<float> table;
};

// Attack-decay-sustain-release, in seconds. `held` is how long the note is held before release.
struct Envelope
{
    float attack;
    float decay;
    float sustain;
    float release;

    float at(float t, float held) const;
    float length(float held) const { return held + release; }
};

// Topology-preserving state-variable filter: low-, band- and high-pass from one structure, stable
// while its cutoff sweeps.
class StateVariableFilter
{
public:
    struct Output
    {
        float low;
        float band;
        float high;
    };
    Output process(float input, float cutoff, float resonance);

private:
    float ic1 = 0.f;
    float ic2 = 0.f;
};

class OnePoleLowPass
{
public:
    explicit OnePoleLowPass(float cutoff) : coefficient(1.f - std::exp(-twoPi * cutoff / sampleRateF)) {}
    float process(float input) { return state += coefficient * (input - state); }

private:
    float coefficient;
    float state = 0.f;
};

inline float midiToFrequency(float note)
{
    constexpr float concertA = 440.f;
    constexpr float concertANote = 69.f;
    constexpr float semitonesPerOctave = 12.f;
    return concertA * std::pow(2.f, (note - concertANote) / semitonesPerOctave);
}
} // namespace assetgen::audio
