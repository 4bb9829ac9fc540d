#include <SFML/Audio/PlaybackDevice.hpp>

#include <gtest/gtest.h>

#include <iostream>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // There may be no sound card: the null device plays in real time, so playing offsets advance.
    if (!sf::PlaybackDevice::setDeviceToNull())
        std::cerr << "could not switch to the null playback device\n";
    return RUN_ALL_TESTS();
}
