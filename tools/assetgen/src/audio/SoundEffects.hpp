#pragma once

#include "Signal.hpp"

// The game's short sounds, each mono and already at its final level.
namespace assetgen::audio
{
Samples squawk(); // the bird is hit: a harsh, falling squawk over a thwack
Samples flap();   // each wing beat: a soft, airy whoosh
Samples death();  // the fall: a tone that slides down and away
Samples score();  // an obstacle passed: a bright two-note chime
} // namespace assetgen::audio
