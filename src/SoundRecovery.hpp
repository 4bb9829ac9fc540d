#pragma once

#include <SFML/System/Time.hpp>

#include <optional>
#include <string>

// Decides how the game's sound comes back after its playback device died. The audio library is not
// told when a sound server goes away: its sounds keep the status "playing" with offsets that no longer
// move, and it never opens a device again by itself. So:
// - a sound that should be playing whose offset has not moved for a second, on a device that has
//   played, means the device is lost: the sounds move to the library's null device, where they go on
//   in silence;
// - on the null device the default device is asked for, at once and then every two seconds, and the
//   sounds move back once the device they were on is reported again. Asking costs milliseconds, so it
//   is never done while the sound is healthy. Where no server answers, the library asks the next
//   system (ALSA), which may report a default device that plays nowhere near the desktop's server:
//   the device lost, by its name, is what the sounds wait for.
// A game that started on the null device takes the first default device with a name that is not the
// null device's. A move that failed leaves the audio library unable to move again safely: nothing
// more is asked for after one.
// All readings come in as values of one monotonic clock.
class SoundRecovery
{
public:
    enum class Step
    {
        None,
        MoveToNull,
        AskForDevice,
        MoveToDevice, // the device just reported
    };

    // The name the audio library gives its null device.
    static constexpr const char* nullDevice = "NULL Playback Device";

    // Starts from the device the sounds are on: nothing (none works), the null device, or a device.
    explicit SoundRecovery(const std::optional<std::string>& device);

    // Once a frame: the playing offset of a sound that should be playing, or nothing when none is.
    [[nodiscard]] Step frame(sf::Time now, std::optional<sf::Time> playingOffset);
    // What the asking found: the default device's name, or nothing.
    [[nodiscard]] Step answer(sf::Time now, const std::optional<std::string>& defaultDevice);
    // The move just asked for could not be made.
    void moveFailed() { state = State::GivenUp; }

private:
    enum class State
    {
        Watching, // on a device, its sound watched
        Silent,   // on the null device, looking for a device
        GivenUp,
    };

    State state;
    // The device the sounds were last on, other than the null device.
    std::optional<std::string> device;
    bool asking = false;
    sf::Time nextAskAt;
    std::optional<sf::Time> lastFrame;
    std::optional<sf::Time> lastOffset;
    sf::Time offsetSince; // when the offset was last seen to move
    // A device may take a while to start: it is judged once it has played.
    bool seenPlaying = false;
};
