#pragma once

#include <SFML/System/Time.hpp>

#include <cstdint>

// The world advances in updates, 60 a second by the clock; every speed of the game is per update.
inline constexpr std::int64_t updatesPerSecond = 60;
// Rounded down to whole microseconds (16,666): deadlines are counted from a start, so it never adds up.
inline constexpr sf::Time updatePeriod = sf::microseconds(1'000'000 / updatesPerSecond);
