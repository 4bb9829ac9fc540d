#pragma once

#include "Flitmere.hpp"
#include "FrameInput.hpp"

// Plays the game well enough to keep it in steady play for a benchmark: it aims the bird at the gap
// of the next obstacle with clicks and dives, and starts a new game when the last life is gone. It
// reads the game only through its public view, as a player reads the screen.
class Pilot
{
public:
    // Adds this frame's clicks, dive and restart to the input, from the game as it is before the frame.
    void steer(const Flitmere& game, FrameInput& input);

    [[nodiscard]] int getRestarts() const { return restarts; }

private:
    int restarts = 0;
};
