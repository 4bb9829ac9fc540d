#include "SoundOutput.hpp"

#include <SFML/Audio/PlaybackDevice.hpp>

#include <cstdlib>

namespace
{
// The audio library asks the sound server for a 64-frame buffer (about 1.4 ms), which a desktop
// server cannot keep fed: the sound drops out many times a second. The PulseAudio client library
// (which PipeWire's PulseAudio layer serves too) takes the buffer from this variable instead. 50 ms
// is kept fed on a busy machine, yet a flap is still heard well within 100 ms of its click.
constexpr const char* pulseLatencyVariable = "PULSE_LATENCY_MSEC";
constexpr const char* pulseLatencyMilliseconds = "50";
} // namespace

void openSoundOutput()
{
    // A default only: a latency the user has set is kept.
    constexpr int keepUsersValue = 0;
    setenv(pulseLatencyVariable, pulseLatencyMilliseconds, keepUsersValue);

    // Without a sound device the library can neither play nor tell a tune's position, and says so on
    // every frame. Its null device keeps time as a real one would, in silence.
    if (!sf::PlaybackDevice::getDefaultDevice())
        (void)sf::PlaybackDevice::setDeviceToNull();
}
