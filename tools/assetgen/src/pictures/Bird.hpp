#pragma once

#include "Pictures.hpp"

#include "../raster/Canvas.hpp"

namespace assetgen::pictures
{
// Paints the bird onto any canvas: the top-left corner of its 34 x 24 picture at `origin`, each of
// its pixels `scale` canvas pixels wide.
void paintBird(Canvas& canvas, WingPose pose, Vec2 origin, float scale);
} // namespace assetgen::pictures
