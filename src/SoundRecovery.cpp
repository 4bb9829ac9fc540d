#include "SoundRecovery.hpp"

namespace
{
// A device plays in periods of a few to 50 ms: an offset still for this long has stopped.
constexpr sf::Time frozenFor = sf::seconds(1);
// Frames further apart than this (a suspended machine, a window dragged) tell nothing of the sound.
constexpr sf::Time longestFrameGap = sf::milliseconds(250);
constexpr sf::Time askEvery = sf::seconds(2);
} // namespace

SoundRecovery::SoundRecovery(Output start)
    : state(start == Output::Device ? State::Watching : start == Output::NullDevice ? State::Silent : State::GivenUp)
{
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
            lastOffset = playingOffset;
            offsetSince = now;
            return Step::None;
        }
        if (now - offsetSince < frozenFor)
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
    if (state != State::Silent || !defaultDevice || *defaultDevice == nullDevice)
        return Step::None;
    state = State::Watching;
    lastOffset.reset();
    return Step::MoveToDevice;
}
