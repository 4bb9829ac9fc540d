// SoundOutput between the frame loop and playback devices of the test's making. (That a paused tune
// is no lost device is seen in the end-to-end play test, which pauses the real game.)
#include "SoundOutput.hpp"

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <thread>

using namespace std::chrono_literals;

TEST(SoundOutputDeathTest, AsksOffTheFramesThreadAndLeavesTheProcessOnlyOnceTheAskingHasAnswered)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // On the null device from the start, so the default device is asked for at once, slowly.
    const PlaybackDevices devices{[] { return std::optional<std::string>(SoundRecovery::nullDevice); },
                                  [frameThread = std::this_thread::get_id()]
                                  {
                                      std::this_thread::sleep_for(300ms);
                                      const bool offTheFrame = std::this_thread::get_id() != frameThread;
                                      std::cerr << (offTheFrame ? "answered" : "asked on the frame's thread");
                                      return std::optional<std::string>();
                                  },
                                  [] { return true; }, [](const std::string&) { return true; }};
    const sf::SoundBuffer buffer;
    const sf::Sound tune(buffer);
    EXPECT_EXIT(
        {
            SoundOutput output(devices);
            output.keepGoing(sf::Time::Zero, tune);
            output.exitProcess(0);
        },
        testing::ExitedWithCode(0), "answered");
}
