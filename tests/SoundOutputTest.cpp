// SoundOutput between the frame loop and fake playback devices: the default device, when asked for,
// is "Built-in Audio", and the moves to the null device are counted.
#include "SoundOutput.hpp"

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/System/Clock.hpp>

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace
{
const sf::Time frame = sf::microseconds(16'667);

PlaybackDevices fakeDevices(const std::string& start, int& movesToNull)
{
    return {[start] { return std::optional(start); }, [] { return std::optional<std::string>("Built-in Audio"); },
            [&movesToNull] { return ++movesToNull > 0; }, [](const std::string&) { return true; }};
}

// A second of silence: on the unit tests' null device it plays in real time.
const std::vector<std::int16_t> silence(44'100);
} // namespace

TEST(SoundOutput, APausedTuneIsNoLostDevice)
{
    int movesToNull = 0;
    SoundOutput output(fakeDevices("Built-in Audio", movesToNull));
    const sf::SoundBuffer buffer(silence.data(), silence.size(), 1, 44'100, {sf::SoundChannel::Mono});
    sf::Sound tune(buffer);
    tune.play();
    // Frames in real time while the tune is seen playing, then three seconds paused.
    const sf::Clock clock;
    sf::Time now;
    for (; now < sf::milliseconds(300); now = clock.getElapsedTime(), std::this_thread::sleep_for(5ms))
        output.keepGoing(now, tune);
    ASSERT_GT(tune.getPlayingOffset(), sf::Time::Zero);
    tune.pause();
    for (const sf::Time end = now + sf::seconds(3); now < end; now += frame)
        output.keepGoing(now, tune);
    EXPECT_EQ(movesToNull, 0);
}

TEST(SoundOutputDeathTest, AsksOffTheFramesThreadAndLeavesTheProcessOnlyOnceTheAskingHasAnswered)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    int movesToNull = 0;
    PlaybackDevices devices = fakeDevices(SoundRecovery::nullDevice, movesToNull);
    const sf::SoundBuffer buffer(silence.data(), silence.size(), 1, 44'100, {sf::SoundChannel::Mono});
    const sf::Sound tune(buffer);
    EXPECT_EXIT(
        {
            devices.askForDefault = [frameThread = std::this_thread::get_id()]
            {
                std::this_thread::sleep_for(300ms);
                std::cerr << (std::this_thread::get_id() == frameThread ? "on the frame's thread" : "answered");
                return std::optional<std::string>();
            };
            SoundOutput output(devices);
            output.keepGoing(sf::Time::Zero, tune);
            output.exitProcess(0);
        },
        testing::ExitedWithCode(0), "answered");
}
