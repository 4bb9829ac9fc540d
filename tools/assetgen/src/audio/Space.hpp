#pragma once

#include "Signal.hpp"

// The room the tune plays in: an echo and a reverb. Both treat their input as a loop, so that the
// echoes of the last bars ring on into the first ones exactly as they would on a second time round.
namespace assetgen::audio
{
// A feedback echo `delaySamples` long, returned in stereo (the right echo half a delay later).
Stereo loopedEcho(const Samples& send, std::size_t delaySamples, float feedback);

// A small hall: parallel damped combs into allpasses, tuned apart for left and right.
Stereo loopedReverb(const Samples& send);
} // namespace assetgen::audio
