#pragma once

#include "support/Picture.hpp"

#include <optional>

namespace sf
{
class Image;
}

// The left edge of an obstacle drawn wholly inside the window, found by comparing rows of the screen
// with rows of the obstacle's picture (its walls are opaque, so they show unchanged wherever they are
// drawn); the rightmost one if two are in view, nothing if none is. `rows` are whole rows of the window,
// any number of them: an obstacle's opening, 100 px high, hides it from the rows it covers.
[[nodiscard]] std::optional<int> findObstacle(const Picture& rows, const sf::Image& obstacle);
