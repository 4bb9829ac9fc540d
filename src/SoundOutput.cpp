#include "SoundOutput.hpp"
#include "platform/Process.hpp"

#include <SFML/Audio/PlaybackDevice.hpp>
#include <SFML/Audio/Sound.hpp>

#include <chrono>
#include <iostream>
#include <utility>

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
    platform::setEnvironmentDefault(pulseLatencyVariable, pulseLatencyMilliseconds);

    // Without a sound device the library can neither play nor tell a tune's position, and says so on
    // every frame. Its null device keeps time as a real one would, in silence.
    if (!sf::PlaybackDevice::getDefaultDevice())
        (void)sf::PlaybackDevice::setDeviceToNull();
}

PlaybackDevices libraryDevices()
{
    return {sf::PlaybackDevice::getDevice, sf::PlaybackDevice::getDefaultDevice, sf::PlaybackDevice::setDeviceToNull,
            sf::PlaybackDevice::setDevice};
}

// Asks the sound server once, before the first frame, for the device's name.
SoundOutput::SoundOutput(PlaybackDevices playbackDevices)
    : devices(std::move(playbackDevices)), recovery(devices.current())
{
}

void SoundOutput::keepGoing(sf::Time now, const sf::Sound& watched)
{
    const bool playing = watched.getStatus() == sf::Sound::Status::Playing;
    switch (recovery.frame(now, playing ? std::optional(watched.getPlayingOffset()) : std::nullopt))
    {
    case SoundRecovery::Step::MoveToNull:
        std::cerr << "Flitmere: the sound device stopped; the game plays on in silence until a device is back\n";
        if (!devices.moveToNull())
            recovery.moveFailed();
        break;
    case SoundRecovery::Step::AskForDevice:
        asking = std::async(std::launch::async, devices.askForDefault);
        break;
    case SoundRecovery::Step::None:
    case SoundRecovery::Step::MoveToDevice:
        break;
    }
    if (asking.valid() && asking.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
        takeAnswer(now);
}

void SoundOutput::takeAnswer(sf::Time now)
{
    const std::optional<std::string> device = asking.get();
    if (recovery.answer(now, device) != SoundRecovery::Step::MoveToDevice)
        return;
    // The library checks that the device is still listed before it moves, and stays put where it is not.
    if (devices.moveTo(*device))
        std::cerr << "Flitmere: the sound now plays through " << *device << '\n';
    else
        recovery.moveFailed();
}

void SoundOutput::finish()
{
    if (asking.valid())
        asking.wait();
}

void SoundOutput::exitProcess(int status)
{
    finish();
    std::exit(status);
}
