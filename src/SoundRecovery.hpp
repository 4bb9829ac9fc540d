#pragma once

#include <SFML/System/Time.hpp>

#include <optional>
#include <string>

// Decides how the game's sound comes back after its playback device died. The audio library is not
// told when a sound server goes away: its sounds keep the status "playing" with offsets that no longer
// move, and it never opens a device again by itself. So:
// - a sound that should be playing whose offset has not moved for a second means the device is lost:
//   the sounds move to the library's null device, where they go on in silence;
// - on the null device the default device is asked for, at once and then every two seconds, and the
//   sounds move to it once one is reported that is not the null device. Asking costs milliseconds, so
//   it is never done while the sound is healthy.
// A game that started on the null device looks for a device the same way. A move that failed leaves
// the audio library unable to move again safely: nothing more is asked for after one.
// All readings come in as values of one monotonic clock.
class SoundRecovery
{
public:
    // Where the sounds are when the game starts.
    enum class Output
    {
        Device,
        NullDevice,
        Unknown, // no device at all, or none the game knows: left as it is
    };

    enum class Step
    {
        None,
        MoveToNull,
        AskForDevice,
        MoveToDevice, // the device just reported
    };

    // The name the audio library gives its null device.
    static constexpr const char* nullDevice = "NULL Playback Device";

    explicit SoundRecovery(Output start);

    // Once a frame: the playing offset of a sound that should be playing, or nothing when none is.
    [[nodiscard]] Step frame(sf::Time now, std::optional<sf::Time> playingOffset);
    // What the asking found: the default device's name, or nothing.
    [[nodiscard]] Step answer(sf::Time now, const std::optional<std::string>& defaultDevice);
    // The move just asked for could not be made.
    void moveFailed() { state = State::GivenUp; }

    [[nodiscard]] bool onDevice() const { return state == State::Watching; }

private:
    enum class State
    {
        Watching, // on a device, its sound watched
        Silent,   // on the null device, looking for a device
        GivenUp,
    };

    State state;
    bool asking = false;
    sf::Time nextAskAt;
    std::optional<sf::Time> lastFrame;
    std::optional<sf::Time> lastOffset;
    sf::Time offsetSince; // when the offset was last seen to move
};
