#pragma once

#include <SFML/System/Clock.hpp>
#include <SFML/System/Time.hpp>

// Waits until `clock` reads `deadline`; returns at once if it already does. The system's sleep may wake
// a little late, so it sleeps until just before the deadline and waits out the rest awake.
void sleepUntil(const sf::Clock& clock, sf::Time deadline);
