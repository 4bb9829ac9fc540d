// The background tune: long enough, looping seamlessly at 95 s where the game restarts it.
#include "support/GeneratedAssets.hpp"

#include "audio/Score.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace assetgen::testing
{
namespace
{
constexpr double restartSeconds = 95.0;
constexpr std::size_t rate = 44100;
constexpr std::size_t restartFrame = 95 * rate;
constexpr double barSeconds = 2.5;

const Sound& tune()
{
    static const Sound sound = loadSound("background.wav");
    return sound;
}

TEST(Tune, PlaysPastTheRestartWithAShortTail)
{
    EXPECT_GT(tune().seconds(), restartSeconds);
    EXPECT_LE(tune().seconds(), restartSeconds + barSeconds) << "at most one bar after the restart point";
    EXPECT_EQ(tune().channels, 2u);
}

TEST(Tune, AfterTheRestartPointContinuesAsTheStartDoes)
{
    // Everything a late restart could skip (here, one and a half seconds) repeats the start exactly.
    const std::size_t span = rate * 3 / 2 * tune().channels;
    const auto& s = tune().samples;
    ASSERT_GE(s.size(), restartFrame * tune().channels + span);
    const auto after = s.begin() + static_cast<long>(restartFrame * tune().channels);
    EXPECT_TRUE(std::equal(s.begin(), s.begin() + static_cast<long>(span), after));
}

TEST(Tune, RestartingUpToFiftyMillisecondsLateMakesNoClick)
{
    // The game jumps from 95 s + d back to 0: the sample at d becomes the sample at 0. Near the loop
    // point the tune breathes, so that jump stays tiny whatever d is.
    constexpr std::size_t latest = rate / 20;
    constexpr int inaudibleStep = 1000; // about -30 dBFS
    for (unsigned c = 0; c < tune().channels; ++c)
    {
        const std::vector<float> s = tune().channel(c);
        for (std::size_t d = 0; d < latest; ++d)
            ASSERT_LT(std::abs(s[restartFrame + d] - s[0]) * 32768.f, inaudibleStep)
                << "restart " << d << " samples late";
    }
}

TEST(Tune, IsMusicThroughout)
{
    // No silent stretch: every bar of the loop carries sound at a steady level.
    const std::vector<float> s = tune().channel(0);
    const std::size_t bar = static_cast<std::size_t>(barSeconds * rate);
    std::vector<double> levels;
    for (std::size_t start = 0; start + bar <= restartFrame; start += bar)
    {
        double sum = 0.0;
        for (std::size_t i = start; i < start + bar; ++i)
            sum += static_cast<double>(s[i]) * s[i];
        levels.push_back(std::sqrt(sum / bar));
    }
    EXPECT_EQ(levels.size(), static_cast<std::size_t>(audio::barCount));
    const auto [quietest, loudest] = std::minmax_element(levels.begin(), levels.end());
    EXPECT_GT(*quietest, *loudest / 2.0);
}

TEST(Score, KeepsTheLoopPointClear)
{
    const audio::Arrangement a = audio::arrange();
    const double loopEnd = audio::loopBeats;
    // Bar one enters after an eighth and the last bar lets go half a beat early: only the pad's
    // slow swell starts on the loop point, and nothing is still held when the loop ends.
    for (const auto* part : {&a.lead, &a.bass, &a.arpeggio})
        for (const audio::NoteEvent& note : *part)
        {
            EXPECT_GE(note.beat, 0.5);
            EXPECT_LE(note.beat + note.length, loopEnd - 0.5);
        }
    for (const audio::DrumHit& hit : a.drums)
    {
        EXPECT_GE(hit.beat, 0.5);
        EXPECT_LE(hit.beat, loopEnd - 0.75);
    }
}
} // namespace
} // namespace assetgen::testing
