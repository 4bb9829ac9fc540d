#pragma once

#include "SoundRecovery.hpp"

#include <SFML/System/Time.hpp>

#include <functional>
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

// What SoundOutput asks of the audio library about its playback devices; a test gives its own.
struct PlaybackDevices
{
    std::function<std::optional<std::string>()> current; // the device the sounds are on
    std::function<std::optional<std::string>()> askForDefault;
    std::function<bool()> moveToNull;
    std::function<bool(const std::string&)> moveTo;
};
// The audio library's own.
[[nodiscard]] PlaybackDevices libraryDevices();

// Keeps the sound going as `SoundRecovery` decides, through the audio library. Asking for the default
// device takes 2.6 to 19 ms where no sound server is up, longer than a frame may wait, so each asking
// runs on a thread of its own; the moves, which the library makes while no sound may be touched, are
// made on the frame's thread between frames. Made once the sounds are.
class SoundOutput
{
public:
    explicit SoundOutput(PlaybackDevices devices = libraryDevices());
    ~SoundOutput() { finish(); }
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    // Once a frame, after the frame played or paused its sounds: `watched` plays whenever the game runs.
    void keepGoing(sf::Time now, const sf::Sound& watched);
    // Waits for an asking under way, so that the process may end.
    void finish();
    // Ends the process once no asking runs: one still running while the process tears the audio
    // library down would use what is gone.
    [[noreturn]] void exitProcess(int status);

private:
    void takeAnswer(sf::Time now);

    PlaybackDevices devices;
    SoundRecovery recovery;
    std::future<std::optional<std::string>> asking;
};
