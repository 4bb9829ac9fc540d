#include <SFML/Audio/PlaybackDevice.hpp>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // Bench machines have no sound card: the null device plays in real time, as a card would.
    if (!sf::PlaybackDevice::setDeviceToNull())
        std::fputs("no null playback device: sounds go to the default one\n", stderr);
    return RUN_ALL_TESTS();
}
