#include "Collision.hpp"

namespace
{
// The rules use these fixed sizes, never the pictures' sizes.
constexpr float birdWidth = 33.f;
constexpr float birdTestDepth = 11.5f;
constexpr float obstacleWidth = 100.f;
constexpr float openingTop = 750.f;
constexpr float openingBottom = 850.f;
} // namespace

Contact judgeContact(sf::Vector2f birdPosition, sf::Vector2f obstaclePosition)
{
    const bool overlapping =
        birdPosition.x + birdWidth > obstaclePosition.x && obstaclePosition.x + obstacleWidth > birdPosition.x;
    if (overlapping)
    {
        const bool aboveOpening = obstaclePosition.y + openingTop > birdPosition.y;
        const bool belowOpening = birdPosition.y + birdTestDepth > obstaclePosition.y + openingBottom;
        return aboveOpening || belowOpening ? Contact::Hit : Contact::Clear;
    }
    // The bird's x stays 400 in play and obstacles move in 2 px steps from even positions, so an
    // obstacle's right edge meets the bird's left edge exactly once per pass.
    return birdPosition.x == obstaclePosition.x + obstacleWidth ? Contact::Passed : Contact::Clear;
}
