// SoundOutput between the frame loop and the audio library's devices, here fakes: the sounds start on
// a device of the test's choosing, and the default device, asked for, is "Built-in Audio".
#include "SoundOutput.hpp"

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/System/Clock.hpp>

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <thread>
#include <utility>
#include <vector>

using namespace std::chrono_literals;

namespace
{
const sf::Time frame = sf::microseconds(16'667);

struct FakeDevices
{
    explicit FakeDevices(std::string startDevice) : start(std::move(startDevice)) {}

    std::string start;
    int movesToNull = 0;
    std::vector<std::string> movesTo;
    std::thread::id askedOn;

    PlaybackDevices devices()
    {
        return {[this] { return std::optional(start); },
                [this]
                {
                    askedOn = std::this_thread::get_id();
                    return std::optional<std::string>("Built-in Audio");
                },
                [this]
                {
                    ++movesToNull;
                    return true;
                },
                [this](const std::string& device)
                {
                    movesTo.push_back(device);
                    return true;
                }};
    }
};

// A second of silence, looped: on the unit tests' null device it plays in real time.
sf::SoundBuffer silence()
{
    const std::vector<std::int16_t> samples(44'100);
    return sf::SoundBuffer(samples.data(), samples.size(), 1, 44'100, {sf::SoundChannel::Mono});
}
} // namespace

TEST(SoundOutput, AsksForTheDefaultDeviceOnAThreadOfItsOwnAndMovesThereOnTheFramesThread)
{
    FakeDevices fake{SoundRecovery::nullDevice};
    SoundOutput output(fake.devices());
    const sf::SoundBuffer buffer = silence();
    const sf::Sound tune(buffer);
    const sf::Clock clock;
    for (sf::Time now; fake.movesTo.empty() && clock.getElapsedTime() < sf::seconds(5); now += frame)
    {
        output.keepGoing(now, tune);
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(fake.movesTo, std::vector<std::string>{"Built-in Audio"});
    EXPECT_NE(fake.askedOn, std::this_thread::get_id());
}

TEST(SoundOutput, APausedTuneIsNoLostDevice)
{
    FakeDevices fake{"Built-in Audio"};
    SoundOutput output(fake.devices());
    const sf::SoundBuffer buffer = silence();
    sf::Sound tune(buffer);
    tune.setLooping(true);
    tune.play();
    // Frames in real time until the tune has been seen playing, then paused for three seconds.
    const sf::Clock clock;
    sf::Time now;
    for (; now < sf::milliseconds(300); now = clock.getElapsedTime())
    {
        output.keepGoing(now, tune);
        std::this_thread::sleep_for(5ms);
    }
    ASSERT_GT(tune.getPlayingOffset(), sf::Time::Zero);
    tune.pause();
    for (const sf::Time end = now + sf::seconds(3); now < end; now += frame)
        output.keepGoing(now, tune);
    EXPECT_EQ(fake.movesToNull, 0);
}

TEST(SoundOutputDeathTest, TheProcessLeavesOnlyOnceAnAskingUnderWayIsAnswered)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    FakeDevices fake{SoundRecovery::nullDevice};
    PlaybackDevices slow = fake.devices();
    slow.askForDefault = []
    {
        std::this_thread::sleep_for(300ms);
        std::cerr << "answered" << std::endl;
        return std::optional<std::string>();
    };
    const sf::SoundBuffer buffer = silence();
    const sf::Sound tune(buffer);
    EXPECT_EXIT(
        {
            SoundOutput output(slow);
            output.keepGoing(sf::Time::Zero, tune);
            output.exitProcess(0);
        },
        testing::ExitedWithCode(0), "answered");
}
