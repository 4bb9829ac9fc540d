#pragma once

#include <SFML/Graphics/Rect.hpp>

#include <vector>

// A set of whole pixels of a render target, as rectangles that do not overlap: what a picture still
// shows once the opaque parts of the pictures drawn over it are taken away.
using PixelRegion = std::vector<sf::IntRect>;

// Takes `cut` out of `region`: each rectangle it overlaps gives way to its parts outside `cut`, at most
// four. `scratch` is working space, kept by the caller so that a frame allocates nothing.
void subtract(PixelRegion& region, const sf::IntRect& cut, PixelRegion& scratch);

// What of `rectangle` also lies in `within`; empty when they do not overlap.
[[nodiscard]] sf::IntRect overlap(const sf::IntRect& rectangle, const sf::IntRect& within);
