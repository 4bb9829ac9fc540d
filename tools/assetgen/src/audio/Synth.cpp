#include "Synth.hpp"

#include <algorithm>

namespace assetgen::audio
{
namespace
{
constexpr std::size_t tableSize = 4096;
constexpr float minimumCutoff = 20.f;
constexpr float nyquistMargin = 0.45f;   // keep cutoffs safely below half the sample rate
constexpr float minimumResonance = 0.1f; // below this the filter's damping would explode
} // namespace

Wavetable::Wavetable(const std::vector<float>& harmonics) : table(tableSize + 1)
{
    for (std::size_t i = 0; i < tableSize; ++i)
    {
        const double phase = static_cast<double>(i) / tableSize;
        double sum = 0.0;
        for (std::size_t h = 0; h < harmonics.size(); ++h)
            sum += harmonics[h] * std::sin(static_cast<double>(twoPi) * static_cast<double>(h + 1) * phase);
        table[i] = static_cast<float>(sum);
    }
    const float peak =
        *std::max_element(table.begin(), table.end(), [](float a, float b) { return std::abs(a) < std::abs(b); });
    for (float& s : table)
        s /= std::abs(peak);
    table[tableSize] = table[0]; // the guard sample lets interpolation wrap without a branch
}

float Wavetable::at(double phase) const
{
    const double position = (phase - std::floor(phase)) * tableSize;
    const auto index = static_cast<std::size_t>(position);
    const auto fraction = static_cast<float>(position - static_cast<double>(index));
    return table[index] + (table[index + 1] - table[index]) * fraction;
}

float Envelope::at(float t, float held) const
{
    if (t < 0.f)
        return 0.f;
    const auto beforeRelease = [this](float time)
    {
        if (time < attack)
            return time / attack;
        if (time < attack + decay)
            return 1.f - (1.f - sustain) * (time - attack) / decay;
        return sustain;
    };
    if (t < held)
        return beforeRelease(t);
    const float level = beforeRelease(held);
    const float intoRelease = t - held;
    return intoRelease < release ? level * (1.f - intoRelease / release) : 0.f;
}

StateVariableFilter::Output StateVariableFilter::process(float input, float cutoff, float resonance)
{
    const float fc = std::clamp(cutoff, minimumCutoff, sampleRateF * nyquistMargin);
    const float g = std::tan(twoPi * 0.5f * fc / sampleRateF);
    const float k = 1.f / std::max(resonance, minimumResonance);
    const float a1 = 1.f / (1.f + g * (g + k));
    const float a2 = g * a1;
    const float a3 = g * a2;
    const float v3 = input - ic2;
    const float v1 = a1 * ic1 + a2 * v3;
    const float v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2.f * v1 - ic1;
    ic2 = 2.f * v2 - ic2;
    return {v2, v1, input - k * v1 - v2};
}
} // namespace assetgen::audio
