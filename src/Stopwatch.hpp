#pragma once

#include <SFML/System/Time.hpp>

// A stopwatch read against the game's time base instead of the system clock. The frame passes in
// the time it runs at, so that a test can replay any frame with any clock readings.
class Stopwatch
{
public:
    void restart(sf::Time now) { startedAt = now; }
    [[nodiscard]] sf::Time getElapsedTime(sf::Time now) const { return now - startedAt; }

private:
    sf::Time startedAt;
};
