#pragma once

#include "support/Picture.hpp"

#include <cstdint>
#include <optional>
#include <unordered_set>

namespace sf
{
class Image;
}

// Finds an obstacle on the screen by its picture: its walls are opaque, so wherever it is drawn its rows
// show unchanged, and each row of the picture is told by its pixels.
class ObstacleOnScreen
{
public:
    explicit ObstacleOnScreen(const sf::Image& obstacle);

    // The left edge of an obstacle drawn wholly inside the window, the rightmost one if two are, or
    // nothing. `rows` are whole rows of the window, any number of them: an obstacle's opening hides it
    // from the rows it covers.
    [[nodiscard]] std::optional<int> find(const Picture& rows) const;

private:
    int width;
    std::unordered_set<std::uint64_t> opaqueRows; // by the hash of their pixels
};
