#pragma once

#include "Score.hpp"
#include "Signal.hpp"

// One-shot drum sounds, synthesised once and placed wherever the groove strikes them.
namespace assetgen::audio
{
Samples drumSound(Drum drum);
} // namespace assetgen::audio
