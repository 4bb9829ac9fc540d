#include "Flitmere.hpp"

#include <SFML/Audio/Sound.hpp>

namespace
{
// The rules use these fixed sizes, never the pictures' sizes.
constexpr float birdWidth = 33.f;
constexpr float birdTestDepth = 11.5f;
constexpr float obstacleWidth = 100.f;
constexpr float openingTop = 750.f;
constexpr float openingBottom = 850.f;

bool overlapsHorizontally(sf::Vector2f birdPosition, sf::Vector2f obstaclePosition)
{
    return birdPosition.x + birdWidth > obstaclePosition.x && obstaclePosition.x + obstacleWidth > birdPosition.x;
}

bool outsideOpening(sf::Vector2f birdPosition, sf::Vector2f obstaclePosition)
{
    return obstaclePosition.y + openingTop > birdPosition.y ||
           birdPosition.y + birdTestDepth > obstaclePosition.y + openingBottom;
}

// The bird's x stays 400 in play and obstacles move in 2 px steps from even positions, so an
// obstacle's right edge meets the bird's left edge exactly once per pass.
bool justPassed(sf::Vector2f birdPosition, sf::Vector2f obstaclePosition)
{
    return birdPosition.x == obstaclePosition.x + obstacleWidth;
}
} // namespace

void Flitmere::collideAndScore(sf::Sound& scoreSound)
{
    // All positions are read first: a hit moves the bird at once, and must not change the second test.
    const sf::Vector2f birdPosition = bird.getBird().getPosition();
    const sf::Vector2f obstaclePositions[] = {obstacle1.getObstacle().getPosition(),
                                              obstacle2.getObstacle().getPosition()};

    for (const sf::Vector2f obstaclePosition : obstaclePositions)
    {
        if (overlapsHorizontally(birdPosition, obstaclePosition))
        {
            if (outsideOpening(birdPosition, obstaclePosition))
                killBird();
        }
        else if (justPassed(birdPosition, obstaclePosition) && !lifeLost)
        {
            scoreSound.play();
            ++score;
        }
    }
}

// Dying, reviving or game over, decided after every frame's update, paused or not.
void Flitmere::endOfFrame()
{
    if (bird.getIsDead() && !gameIsOver)
    {
        bird.die(now);
        return;
    }
    if (lives > 0 || bird.getIsDead())
    {
        if (lifeLost && !gameIsOver && !bird.getIsDead())
            revive();
        return;
    }
    gameOver();
}
