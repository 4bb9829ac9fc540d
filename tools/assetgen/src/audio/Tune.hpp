#pragma once

#include "Signal.hpp"

// The background tune, rendered from the score.
namespace assetgen::audio
{
// Samples in one pass of the loop: 38 bars, exactly 95 s.
std::size_t loopLength();

// The loop followed by a tail: its first bar again, faded out only at the very end. A player that
// restarts the tune a little after 95 s hears the beginning continue as if it had already jumped.
Stereo backgroundTune();
} // namespace assetgen::audio
