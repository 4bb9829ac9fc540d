#pragma once

#include <SFML/System/Vector2.hpp>

// How many of the window's pixels show one of the world's: 2 in a 2400x1600 window, below 1 in a
// window shrunk to fit a small screen.
[[nodiscard]] float pixelRatio(sf::Vector2u window);

// Enlarged by a whole factor, each of a picture's pixels becomes a square of one size and its hard
// edges look best. At any other factor its pixels would come out in two sizes, so it is smoothed.
[[nodiscard]] bool smoothsPictures(float pixelRatio);
