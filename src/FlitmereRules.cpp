#include "Flitmere.hpp"

#include "Collision.hpp"

#include <SFML/Audio/Sound.hpp>

void Flitmere::collideAndScore(sf::Sound& scoreSound)
{
    // All positions are read first: a hit moves the bird at once, and must not change the second test.
    const sf::Vector2f birdPosition = bird.getBird().getPosition();
    const sf::Vector2f obstaclePositions[] = {obstacle1.getObstacle().getPosition(),
                                              obstacle2.getObstacle().getPosition()};

    for (const sf::Vector2f obstaclePosition : obstaclePositions)
    {
        switch (judgeContact(birdPosition, obstaclePosition))
        {
        case Contact::Hit:
            killBird();
            break;
        case Contact::Passed:
            // A bird that has lost a life and is not yet revived scores nothing.
            if (!lifeLost)
            {
                scoreSound.play();
                ++score;
            }
            break;
        case Contact::Clear:
            break;
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
