#include "WindowSize.hpp"

#include <algorithm>
#include <cmath>

namespace
{
// The world's shape is 3:2; a window is a whole number of these steps wide and high.
constexpr sf::Vector2u shapeStep{3, 2};
} // namespace

sf::Vector2u windowSize(sf::Vector2u screen, const platform::WindowRoom& room, float scale)
{
    const auto designedSteps =
        static_cast<unsigned>(std::lround(static_cast<float>(worldSize.x / shapeStep.x) * scale));
    const sf::Vector2u usable =
        room.workArea ? sf::Vector2u{std::min(screen.x, room.workArea->x), std::min(screen.y, room.workArea->y)}
                      : screen;
    const auto lessFrame = [](unsigned size, unsigned frame) { return size > frame ? size - frame : 0u; };
    const sf::Vector2u client{lessFrame(usable.x, room.frame.x), lessFrame(usable.y, room.frame.y)};
    const unsigned steps = std::min({designedSteps, client.x / shapeStep.x, client.y / shapeStep.y});
    // Even a screen too small for any sensible window gets one, of the smallest size of the shape.
    return {std::max(steps, 1u) * shapeStep.x, std::max(steps, 1u) * shapeStep.y};
}
