// The sound building blocks: envelopes, filters, wavetables and the looped echo.
#include "audio/Synth.hpp"
#include "audio/Space.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace assetgen::audio
{
namespace
{
TEST(Envelope, RisesDecaysHoldsAndReleasesToSilence)
{
    const Envelope e{0.1f, 0.2f, 0.5f, 0.3f};
    EXPECT_FLOAT_EQ(e.at(0.f, 1.f), 0.f);
    EXPECT_FLOAT_EQ(e.at(0.1f, 1.f), 1.f);
    EXPECT_NEAR(e.at(0.2f, 1.f), 0.75f, 1e-6);
    EXPECT_FLOAT_EQ(e.at(0.6f, 1.f), 0.5f);
    EXPECT_NEAR(e.at(1.15f, 1.f), 0.25f, 1e-6);
    EXPECT_NEAR(e.at(1.3f, 1.f), 0.f, 1e-6);
    EXPECT_FLOAT_EQ(e.at(1.4f, 1.f), 0.f);
    EXPECT_FLOAT_EQ(e.length(1.f), 1.3f);
}

TEST(Envelope, ReleasesFromWhereverANoteShorterThanItsAttackGotTo)
{
    // No jump when a short note is let go mid-attack: the release starts at the level reached.
    const Envelope e{0.1f, 0.2f, 0.5f, 0.3f};
    const float held = 0.05f;
    EXPECT_NEAR(e.at(held - 1e-4f, held), e.at(held, held), 2e-3);
    EXPECT_NEAR(e.at(held + 0.15f, held), 0.25f, 1e-6);
}

float rmsAfterFilter(float hz, float cutoff, bool lowPass)
{
    StateVariableFilter filter;
    double sum = 0.0;
    const std::size_t count = sampleRate / 10;
    for (std::size_t i = 0; i < count; ++i)
    {
        const auto out = filter.process(std::sin(twoPi * hz * timeOf(i)), cutoff, 0.707f);
        const float s = lowPass ? out.low : out.high;
        if (i > count / 2)
            sum += s * s;
    }
    return static_cast<float>(std::sqrt(sum / static_cast<double>(count / 2)));
}

TEST(StateVariableFilter, PassesItsBandAndStopsTheOther)
{
    const float passed = rmsAfterFilter(100.f, 1000.f, true);
    const float stopped = rmsAfterFilter(8000.f, 1000.f, true);
    EXPECT_NEAR(passed, std::sqrt(0.5f), 0.05f) << "a tone well below the cutoff passes at full level";
    EXPECT_LT(stopped, passed / 30.f) << "three octaves above, a 12 dB/octave low-pass takes 36 dB off";
    EXPECT_LT(rmsAfterFilter(100.f, 1000.f, false), rmsAfterFilter(8000.f, 1000.f, false) / 30.f);
}

TEST(Wavetable, IsOneNormalisedCycle)
{
    const Wavetable saw({1.f, 0.5f, 0.33f, 0.25f});
    float peak = 0.f;
    for (int i = 0; i < 1000; ++i)
        peak = std::max(peak, std::abs(saw.at(i / 1000.0)));
    EXPECT_NEAR(peak, 1.f, 0.01f);
    EXPECT_FLOAT_EQ(saw.at(0.25), saw.at(3.25)) << "any phase, only its fraction counts";
    EXPECT_NEAR(saw.at(0.0), 0.f, 1e-6);
}

TEST(LoopedEcho, RingsFromTheLoopsEndIntoItsStart)
{
    // A click just before the loop ends echoes one delay later, which is near the loop's start:
    // the tune's second time round sounds the same as its first.
    const std::size_t length = 20000;
    const std::size_t delay = 1000;
    Samples send(length, 0.f);
    send[length - 100] = 1.f;
    const Stereo echo = loopedEcho(send, delay, 0.5f);
    const std::size_t wrapped = delay - 100;
    EXPECT_GT(echo.left[wrapped], 0.5f);
    EXPECT_LT(std::abs(echo.left[wrapped - 1]), 1e-6f);
    EXPECT_GT(std::abs(echo.left[wrapped + delay]), 0.05f) << "the repeats carry on, filtered and halved";
    EXPECT_LT(std::abs(echo.left[length / 2]), 1e-3f);
}

TEST(LoopedReverb, TailAtTheStartComesFromTheEnd)
{
    const std::size_t length = sampleRate * 2;
    Samples send(length, 0.f);
    send[length - 10] = 1.f;
    const Stereo room = loopedReverb(send);
    float early = 0.f;
    for (std::size_t i = 0; i < sampleRate / 10; ++i)
        early = std::max(early, std::abs(room.left[i]) + std::abs(room.right[i]));
    EXPECT_GT(early, 0.f);
    EXPECT_NE(room.left, room.right) << "left and right rooms are tuned apart";
}
} // namespace
} // namespace assetgen::audio
