#pragma once

#include "../raster/Canvas.hpp"

#include <cstdint>

namespace assetgen::pictures
{
// Adds half a step of noise per channel so that the long, smooth sky gradients do not show bands
// once they are rounded to 8 bits.
void addDither(Canvas& canvas, std::uint32_t seed);
} // namespace assetgen::pictures
