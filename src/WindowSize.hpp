#pragma once

#include "platform/Desktop.hpp"

#include <SFML/System/Vector2.hpp>

// The world is 1200x800 pixels, whatever the window shows it in.
inline constexpr sf::Vector2u worldSize{1200, 800};

// The window's client area: the world's own size times the desktop's scale where the window, frame
// included, fits the usable area (the work area within the screen); otherwise the largest area of the
// world's 3:2 shape that does. The world is drawn scaled into it.
[[nodiscard]] sf::Vector2u windowSize(sf::Vector2u screen, const platform::WindowRoom& room, float scale = 1.f);
