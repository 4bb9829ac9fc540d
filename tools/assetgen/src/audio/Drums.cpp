#include "Drums.hpp"

#include "Synth.hpp"

#include <algorithm>
#include <cmath>

namespace assetgen::audio
{
namespace
{
// Kick: a sine whose pitch drops fast from a knock to a low thump.
constexpr float kickLength = 0.38f;
constexpr float kickStartHz = 150.f;
constexpr float kickEndHz = 47.f;
constexpr float kickSweep = 0.045f;
constexpr float kickDecay = 0.16f;
constexpr float kickClickLength = 0.004f;
constexpr float kickClickLevel = 0.25f;

// Snare: a short tone for the drum's body under band-passed noise for the wires.
constexpr float snareLength = 0.24f;
constexpr float snareToneHz = 185.f;
constexpr float snareToneDecay = 0.045f;
constexpr float snareNoiseDecay = 0.07f;
constexpr float snareNoiseHz = 3200.f;
constexpr float snareNoiseQ = 0.7f;
constexpr float snareToneLevel = 0.55f;

// Hats and crash: high-passed noise with short or long decays.
constexpr float closedHatLength = 0.09f;
constexpr float closedHatDecay = 0.022f;
constexpr float openHatLength = 0.34f;
constexpr float openHatDecay = 0.12f;
constexpr float hatCutoff = 7500.f;
constexpr float crashLength = 1.8f;
constexpr float crashDecay = 0.55f;
constexpr float crashCutoff = 5000.f;
constexpr float metalQ = 0.8f;
constexpr float fadeOut = 0.01f; // every one-shot ends at zero, whatever its decay

constexpr std::uint64_t snareSeed = 0x5A12;
constexpr std::uint64_t hatSeed = 0x4A7;
constexpr std::uint64_t crashSeed = 0xC2A5;

float endFade(float t, float length)
{
    return std::min(1.f, (length - t) / fadeOut);
}

Samples kick()
{
    Samples out(samplesFor(kickLength));
    double phase = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const float t = timeOf(i);
        const float hz = kickEndHz + (kickStartHz - kickEndHz) * std::exp(-t / kickSweep);
        phase += hz / sampleRateF;
        const float click = t < kickClickLength ? kickClickLevel * (1.f - t / kickClickLength) : 0.f;
        out[i] =
            (std::sin(twoPi * static_cast<float>(phase)) * std::exp(-t / kickDecay) + click) * endFade(t, kickLength);
    }
    return out;
}

Samples snare()
{
    Samples out(samplesFor(snareLength));
    WhiteNoise noise(snareSeed);
    StateVariableFilter filter;
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const float t = timeOf(i);
        const float tone = std::sin(twoPi * snareToneHz * t) * std::exp(-t / snareToneDecay);
        const float wires =
            filter.process(noise.next(), snareNoiseHz, snareNoiseQ).band * std::exp(-t / snareNoiseDecay);
        out[i] = (snareToneLevel * tone + wires) * endFade(t, snareLength);
    }
    return out;
}

Samples metal(float length, float decay, float cutoff, std::uint64_t seed)
{
    Samples out(samplesFor(length));
    WhiteNoise noise(seed);
    StateVariableFilter filter;
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const float t = timeOf(i);
        out[i] = filter.process(noise.next(), cutoff, metalQ).high * std::exp(-t / decay) * endFade(t, length);
    }
    return out;
}
} // namespace

Samples drumSound(Drum drum)
{
    switch (drum)
    {
    case Drum::Kick:
        return kick();
    case Drum::Snare:
        return snare();
    case Drum::ClosedHat:
        return metal(closedHatLength, closedHatDecay, hatCutoff, hatSeed);
    case Drum::OpenHat:
        return metal(openHatLength, openHatDecay, hatCutoff, hatSeed);
    case Drum::Crash:
        return metal(crashLength, crashDecay, crashCutoff, crashSeed);
    }
    return {};
}
} // namespace assetgen::audio
