#include "SoundEffects.hpp"

#include "Synth.hpp"

#include <algorithm>
#include <cmath>

namespace assetgen::audio
{
namespace
{
// Levels: the hit and the chime must cut through the tune; the flap, heard at every click, stays soft.
// The sounds that can play at once (a flap and the chime over the tune; the squawk over the end of a
// flap or under the start of the death sound) stay below -1 dBFS together even where their peaks meet.
constexpr float squawkPeak = -8.f;
constexpr float flapPeak = -11.f;
constexpr float deathPeak = -11.f;
constexpr float scorePeak = -9.f;
constexpr float endFadeSeconds = 0.02f; // every sound ends at zero, without a click

// Squawk: a buzzy voice whose pitch jumps up and falls, shaped by two beak-like formants, roughened
// by a fast wobble, over the thwack of the hit.
constexpr float squawkLength = 0.5f;
constexpr float squawkStartHz = 700.f;
constexpr float squawkTopHz = 1050.f;
constexpr float squawkEndHz = 560.f;
constexpr float squawkRise = 0.04f;
constexpr float squawkWobbleHz = 38.f;
constexpr float squawkWobbleDepth = 0.045f;
constexpr float squawkRaspHz = 57.f;
constexpr float squawkRaspDepth = 0.35f;
constexpr float formantLowHz = 1300.f;
constexpr float formantHighHz = 2700.f;
constexpr float formantQ = 4.f;
constexpr float formantHighLevel = 0.7f;
constexpr float squawkDirectLevel = 0.25f;
constexpr float squawkAttack = 0.008f;
constexpr float squawkRelease = 0.14f;
constexpr float thwackLength = 0.03f;
constexpr float thwackHz = 2400.f;
constexpr float thwackLevel = 0.9f;
constexpr std::uint64_t squawkSeed = 0x5C0A;

// Flap: band-passed noise that swells and falls in pitch, with a faint low push of air.
constexpr float flapLength = 0.24f;
constexpr float flapSwell = 0.035f;
constexpr float flapDecay = 0.055f;
constexpr float flapHighHz = 1900.f;
constexpr float flapLowHz = 450.f;
constexpr float flapQ = 0.9f;
constexpr float flapPushHz = 110.f;
constexpr float flapPushDecay = 0.05f;
constexpr float flapPushLevel = 0.25f;
constexpr std::uint64_t flapSeed = 0xF1A9;

// Death: a hollow tone gliding down three octaves with a widening wobble.
constexpr float deathLength = 1.3f;
constexpr float deathStartHz = 880.f;
constexpr float deathEndHz = 110.f;
constexpr float deathGlide = 1.15f;
constexpr float deathVibratoHz = 6.f;
constexpr float deathVibratoDepth = 0.035f;
constexpr float deathAttack = 0.01f;
constexpr float deathRelease = 0.3f;

// Score: two bell strokes a rising fifth apart, each with a slightly stretched overtone for shimmer.
constexpr float scoreLength = 0.6f;
constexpr float firstStrikeMidi = 88.f;  // E6
constexpr float secondStrikeMidi = 95.f; // B6
constexpr float secondStrikeAt = 0.09f;
constexpr float bellAttack = 0.002f;
constexpr float bellDecay = 0.22f;
struct Partial
{
    float ratio;
    float level;
    float decayScale;
};
constexpr Partial bellPartials[] = {{1.f, 1.f, 1.f}, {2.f, 0.35f, 0.6f}, {3.f, 0.12f, 0.4f}, {4.16f, 0.08f, 0.3f}};

const Wavetable& buzz()
{
    // A sawtooth's harmonics (1/n): the buzz of a voice before the beak shapes it.
    static const Wavetable table({1.f, 0.5f, 0.33f, 0.25f, 0.2f, 0.17f, 0.14f, 0.12f, 0.11f, 0.1f, 0.09f, 0.08f});
    return table;
}

const Wavetable& hollow()
{
    // Mostly fundamental with a few weak odd harmonics: a whistle-like, hollow tone.
    static const Wavetable table({1.f, 0.1f, 0.11f, 0.f, 0.04f, 0.f, 0.02f});
    return table;
}

float endFade(float t, float length)
{
    return std::min(1.f, (length - t) / endFadeSeconds);
}

Samples finish(Samples samples, float peakDecibels)
{
    normaliseTo(samples, peakDecibels);
    return samples;
}
} // namespace

Samples squawk()
{
    Samples out(samplesFor(squawkLength));
    WhiteNoise noise(squawkSeed);
    StateVariableFilter low;
    StateVariableFilter high;
    StateVariableFilter thwackFilter;
    double phase = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const float t = timeOf(i);
        const float contour = t < squawkRise
                                  ? lerp(squawkStartHz, squawkTopHz, t / squawkRise)
                                  : lerp(squawkTopHz, squawkEndHz, (t - squawkRise) / (squawkLength - squawkRise));
        const float hz = contour * (1.f + squawkWobbleDepth * std::sin(twoPi * squawkWobbleHz * t));
        phase += hz / sampleRateF;
        const float rasp = 1.f - squawkRaspDepth * (0.5f + 0.5f * std::sin(twoPi * squawkRaspHz * t));
        const float source = buzz().at(phase) * rasp;
        const float voiced = low.process(source, formantLowHz, formantQ).band +
                             formantHighLevel * high.process(source, formantHighHz, formantQ).band +
                             squawkDirectLevel * source;
        const float envelope = std::min(t / squawkAttack, 1.f) * std::min(1.f, (squawkLength - t) / squawkRelease);
        const float thwack = t < thwackLength ? thwackFilter.process(noise.next(), thwackHz, 1.f).band * thwackLevel *
                                                    (1.f - t / thwackLength)
                                              : 0.f;
        out[i] = voiced * envelope + thwack;
    }
    return finish(out, squawkPeak);
}

Samples flap()
{
    Samples out(samplesFor(flapLength));
    WhiteNoise noise(flapSeed);
    StateVariableFilter filter;
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const float t = timeOf(i);
        const float envelope =
            (t < flapSwell ? smoothstep(0.f, flapSwell, t) : std::exp(-(t - flapSwell) / flapDecay)) *
            endFade(t, flapLength);
        const float cutoff = flapHighHz * std::pow(flapLowHz / flapHighHz, t / flapLength);
        const float air = filter.process(noise.next(), cutoff, flapQ).band;
        const float push = flapPushLevel * std::sin(twoPi * flapPushHz * t) * std::exp(-t / flapPushDecay) *
                           smoothstep(0.f, flapSwell, t);
        out[i] = air * envelope + push;
    }
    return finish(out, flapPeak);
}

Samples death()
{
    Samples out(samplesFor(deathLength));
    double phase = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const float t = timeOf(i);
        const float glide = std::min(t / deathGlide, 1.f);
        const float wobble = 1.f + deathVibratoDepth * glide * std::sin(twoPi * deathVibratoHz * t);
        const float hz = deathStartHz * std::pow(deathEndHz / deathStartHz, glide) * wobble;
        phase += hz / sampleRateF;
        const float envelope = std::min(t / deathAttack, 1.f) * std::min(1.f, (deathLength - t) / deathRelease);
        out[i] = hollow().at(phase) * envelope;
    }
    return finish(out, deathPeak);
}

Samples score()
{
    Samples out(samplesFor(scoreLength), 0.f);
    for (const auto& [midi, at] : {std::pair{firstStrikeMidi, 0.f}, std::pair{secondStrikeMidi, secondStrikeAt}})
    {
        const float hz = midiToFrequency(midi);
        for (std::size_t i = samplesFor(at); i < out.size(); ++i)
        {
            const float t = timeOf(i) - at;
            const float attack = std::min(t / bellAttack, 1.f);
            float s = 0.f;
            for (const Partial& p : bellPartials)
                s += p.level * std::sin(twoPi * hz * p.ratio * t) * std::exp(-t / (bellDecay * p.decayScale));
            out[i] += s * attack * endFade(timeOf(i), scoreLength);
        }
    }
    return finish(out, scorePeak);
}
} // namespace assetgen::audio
