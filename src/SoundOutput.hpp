#pragma once

#include "SoundRecovery.hpp"

#include <SFML/System/Time.hpp>

#include <future>
#include <optional>
#include <string>

namespace sf
{
class Sound;
}

// Chooses where the game's sound goes, before the first sound is made: the desktop's sound server
// through the audio library's default device, or, where there is none, the library's null device,
// which keeps time in silence.
void openSoundOutput();

// Keeps the sound going as `SoundRecovery` decides, through the audio library. Asking for the default
// device takes 2.6 to 19 ms where no sound server is up, longer than a frame may wait, so each asking
// runs on a thread of its own; the moves, which the library makes while no sound may be touched, are
// made on the frame's thread between frames. Made once the sounds are.
class SoundOutput
{
public:
    SoundOutput();
    ~SoundOutput() { finish(); }
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    // Once a frame, after the frame played or paused its sounds: `watched` plays whenever the game runs.
    void keepGoing(sf::Time now, const sf::Sound& watched);
    // Waits for an asking under way, so that the process may end.
    void finish();

private:
    void takeAnswer(sf::Time now);

    SoundRecovery recovery;
    std::future<std::optional<std::string>> asking;
};
