#pragma once

#include <SFML/System/Vector2.hpp>

// How the bird stands against one obstacle, judged from the two sprites' top-left corners alone.
enum class Contact
{
    Clear,  // apart, or overlapping with the bird inside the opening
    Hit,    // overlapping with the bird outside the opening
    Passed, // the obstacle's right edge has just reached the bird's left edge
};

[[nodiscard]] Contact judgeContact(sf::Vector2f birdPosition, sf::Vector2f obstaclePosition);
