#include "SoundRecovery.hpp"

namespace
{
// A device plays in periods of a few to 50 ms: an offset still for this long has stopped.
constexpr sf::Time frozenFor = sf::seconds(1);
// Frames further apart than this (a suspended machine, a window dragged) tell nothing of the sound.
constexpr sf::Time longestFrameGap = sf::milliseconds(250);
constexpr sf::Time askEvery = sf::seconds(2);
} // namespace

SoundRecovery::SoundRecovery(const std::optional<std::string>& startDevice)
    : state(!startDevice                 ? State::GivenUp
            : *startDevice == nullDevice ? State::Silent
                                         : State::Watching)
{
    if (state == State::Watching)
        device = startDevice;
}

SoundRecovery::Step SoundRecovery::frame(sf::Time now, std::optional<sf::Time> playingOffset)
{
    const bool afterGap = lastFrame && now - *lastFrame > longestFrameGap;
    lastFrame = now;
    switch (state)
    {
    case State::Watching:
        if (!playingOffset || afterGap || playingOffset != lastOffset)
        {
            seenPlaying = seenPlaying || (playingOffset && lastOffset && !afterGap);
            lastOffset = playingOffset;
            offsetSince = now;
            return Step::None;
        }
        if (!seenPlaying || now - offsetSince < frozenFor)
            return Step::None;
        state = State::Silent;
        nextAskAt = now;
        return Step::MoveToNull;
    case State::Silent:
        if (asking || now < nextAskAt)
            return Step::None;
        asking = true;
        return Step::AskForDevice;
    case State::GivenUp:
        break;
    }
    return Step::None;
}

SoundRecovery::Step SoundRecovery::answer(sf::Time now, const std::optional<std::string>& defaultDevice)
{
    asking = false;
    nextAskAt = now + askEvery;
    if (state != State::Silent || !defaultDevice || defaultDevice->empty() || *defaultDevice == nullDevice ||
        (device && *defaultDevice != *device))
        return Step::None;
    state = State::Watching;
    device = defaultDevice;
    lastOffset.reset();
    seenPlaying = false;
    return Step::MoveToDevice;
}
