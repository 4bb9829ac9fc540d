#pragma once

#include "Canvas.hpp"
#include "TextRaster.hpp"

namespace assetgen
{
struct TextStyle
{
    Rgba fillTop;    // the fill runs from this colour at the top of the letters...
    Rgba fillBottom; // ...to this one at the baseline
    Rgba outline;
    float outlineWidth;
    Vec2 shadowOffset; // the shadow falls away from the light: down and to the right
    float shadowAlpha;
};

// Paints a rendered line with its shadow, outline and fill; (left, baseline) places the mask's
// own origin and baseline.
void paintText(Canvas& canvas, const TextMask& mask, int left, int baseline, const TextStyle& style);
} // namespace assetgen
