#include "PixelRatio.hpp"

#include "WindowSize.hpp"

#include <cmath>

namespace
{
// A window's width is a whole number of pixels: any ratio this close to a whole one is that one.
constexpr float wholeTolerance = 1e-3f;
} // namespace

float pixelRatio(sf::Vector2u window)
{
    return static_cast<float>(window.x) / static_cast<float>(worldSize.x);
}

bool smoothsPictures(float pixelRatio)
{
    const float whole = std::round(pixelRatio);
    return whole < 1.f || std::abs(pixelRatio - whole) > wholeTolerance;
}
