// The sounds as the game will load them: read back from their WAV files.
#include "support/GeneratedAssets.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace assetgen::testing
{
namespace
{
constexpr unsigned expectedRate = 44100;
constexpr int minusOneDecibel = 29204; // 32767 * 10^(-1/20)
constexpr double pi = 3.14159265358979;

int peakOf(const Sound& sound)
{
    int peak = 0;
    for (const std::int16_t s : sound.samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak;
}

// Strength of one frequency in a stretch of samples (the Goertzel algorithm).
double strengthAt(const std::vector<float>& samples, std::size_t from, std::size_t count, double hz)
{
    const double w = 2.0 * pi * hz / expectedRate;
    const double coefficient = 2.0 * std::cos(w);
    double s1 = 0.0;
    double s2 = 0.0;
    for (std::size_t i = from; i < from + count && i < samples.size(); ++i)
    {
        const double s0 = samples[i] + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return std::sqrt(s1 * s1 + s2 * s2 - coefficient * s1 * s2) / static_cast<double>(count);
}

// Sign changes per second: a rough pitch for a single tone.
double crossingsPerSecond(const std::vector<float>& samples, std::size_t from, std::size_t count)
{
    unsigned crossings = 0;
    for (std::size_t i = from + 1; i < from + count; ++i)
        crossings += (samples[i - 1] < 0.f) != (samples[i] < 0.f) ? 1u : 0u;
    return crossings * static_cast<double>(expectedRate) / static_cast<double>(count);
}

std::size_t at(double seconds)
{
    return static_cast<std::size_t>(seconds * expectedRate);
}

class EverySound : public ::testing::TestWithParam<std::string>
{
};

TEST_P(EverySound, IsSixteenBitAt44kHzAndPeaksBelowMinusOneDecibel)
{
    const Sound sound = loadSound(GetParam());
    EXPECT_EQ(sound.sampleRate, expectedRate);
    EXPECT_EQ(sound.bitsPerSample, 16u);
    ASSERT_GT(sound.frames(), 0u);
    EXPECT_LE(peakOf(sound), minusOneDecibel);
}

INSTANTIATE_TEST_SUITE_P(Sounds, EverySound,
                         ::testing::Values("squawk.wav", "flap.wav", "death.wav", "score.wav", "background.wav"),
                         [](const auto& info) { return info.param.substr(0, info.param.find('.')); });

class Effect : public ::testing::TestWithParam<std::string>
{
};

TEST_P(Effect, IsShortAndEndsInSilence)
{
    const Sound sound = loadSound(GetParam());
    EXPECT_LE(sound.seconds(), GetParam() == "flap.wav" || GetParam() == "score.wav" ? 0.8 : 1.5);
    // No click when the sound stops: its last samples are (nearly) zero.
    constexpr int nearSilence = 160;
    for (std::size_t i = sound.samples.size() - sound.channels; i < sound.samples.size(); ++i)
        EXPECT_LT(std::abs(static_cast<int>(sound.samples[i])), nearSilence);
}

INSTANTIATE_TEST_SUITE_P(Effects, Effect, ::testing::Values("squawk.wav", "flap.wav", "death.wav", "score.wav"),
                         [](const auto& info) { return info.param.substr(0, info.param.find('.')); });

TEST(Effects, StandOutOverTheTune)
{
    const int tunePeak = peakOf(loadSound("background.wav"));
    for (const char* name : {"squawk.wav", "flap.wav", "death.wav", "score.wav"})
        EXPECT_GT(peakOf(loadSound(name)), tunePeak) << name;
}

// The loudest the two sounds reach together when `later` starts `from` to `to` seconds after `first`
// (negative: before it), each sample in -1..1.
float loudestTogether(const std::vector<float>& first, const std::vector<float>& later, double from, double to)
{
    const long firstOffset = std::lround(from * expectedRate);
    const long lastOffset = std::lround(to * expectedRate);
    const long firstLength = static_cast<long>(first.size());
    const long laterLength = static_cast<long>(later.size());
    float loudest = 0.f;
    for (long offset = firstOffset; offset <= lastOffset; ++offset)
        for (long t = std::max(0L, offset); t < firstLength && t - offset < laterLength; ++t)
            loudest = std::max(
                loudest, std::abs(first[static_cast<std::size_t>(t)] + later[static_cast<std::size_t>(t - offset)]));
    return loudest;
}

TEST(Effects, ThatCanSoundAtOnceStayBelowMinusOneDecibelTogether)
{
    const std::vector<float> squawk = loadSound("squawk.wav").channel(0);
    const std::vector<float> flap = loadSound("flap.wav").channel(0);
    const std::vector<float> death = loadSound("death.wav").channel(0);
    const std::vector<float> chime = loadSound("score.wav").channel(0);
    const float tunePeak = static_cast<float>(peakOf(loadSound("background.wav"))) / 32768.f;
    const float limit = minusOneDecibel / 32768.f;
    const auto seconds = [](const std::vector<float>& s) { return static_cast<double>(s.size()) / expectedRate; };

    // A click while the chime rings, at any moment, over the tune at its loudest.
    EXPECT_LT(loudestTogether(chime, flap, -seconds(flap), seconds(chime)) + tunePeak, limit);
    // A hit during a flap: the squawk starts before the tune is paused.
    EXPECT_LT(loudestTogether(squawk, flap, -seconds(flap), 0.0) + tunePeak, limit);
    // The death sound starts on the first frame 0.375 s after the squawk, or a slow frame later.
    constexpr double deathSoundAt = 0.375;
    constexpr double slowFrame = 0.1;
    EXPECT_LT(loudestTogether(squawk, death, deathSoundAt, deathSoundAt + slowFrame), limit);
}

TEST(Death, ToneFalls)
{
    const std::vector<float> s = loadSound("death.wav").channel(0);
    const std::size_t window = at(0.15);
    const double early = crossingsPerSecond(s, at(0.05), window);
    const double late = crossingsPerSecond(s, s.size() - window - at(0.1), window);
    EXPECT_GT(early, 3.0 * late) << "from " << early << " to " << late << " crossings a second";
}

TEST(Score, ChimesTwoRisingNotes)
{
    // E6 first, then B6 joins 90 ms later.
    const std::vector<float> s = loadSound("score.wav").channel(0);
    constexpr double first = 1318.5;
    constexpr double second = 1975.5;
    const std::size_t window = at(0.06);
    EXPECT_GT(strengthAt(s, 0, window, first), 5.0 * strengthAt(s, 0, window, second));
    EXPECT_GT(strengthAt(s, at(0.1), window, second), strengthAt(s, 0, window, second) * 5.0);
}

TEST(Squawk, IsHarshAndFlapIsAiry)
{
    // The squawk is a buzzy voice in the middle of the range; the flap is broadband air. Compare how
    // much of each sound lies at its own centre against the other's.
    const std::vector<float> squawk = loadSound("squawk.wav").channel(0);
    const std::vector<float> flap = loadSound("flap.wav").channel(0);
    const double squawkPitch = crossingsPerSecond(squawk, at(0.1), at(0.2));
    const double flapPitch = crossingsPerSecond(flap, at(0.01), at(0.1));
    EXPECT_GT(flapPitch, squawkPitch) << "noise crosses zero more often than a voiced squawk";
}
} // namespace
} // namespace assetgen::testing
