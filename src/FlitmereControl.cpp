#include "Flitmere.hpp"

namespace
{
constexpr float firstObstacleX = 1200.f;
constexpr float secondObstacleX = 1800.f;
constexpr int livesPerGame = 3;
} // namespace

void Flitmere::initialize()
{
    gameIsOver = false;
    playMusic = true;
    background->setTexture(backgroundTexture);
    flapClock.restart(now);
    animationClock.restart(now);
    flapping = true;
    flapStarted = true;
    bird.playFlapSound();
    obstacle1.initializeObstacle(firstObstacleX);
    obstacle2.initializeObstacle(secondObstacleX);
    if (paused && !bird.getIsDead())
    {
        paused = false;
        playMusic = true;
    }
}

// The flap ends on the first update whose flap time exceeds its length; that update lowers and then
// raises the wing, so the bird ends 1 px higher.
void Flitmere::flap(sf::Time time)
{
    bird.lowerWing();
    if (flapTime < totalFlapTime && (flapStarted || animationTime > totalAnimationTime))
        animationClock.restart(now);
    else if (time > totalFlapTime)
    {
        bird.raiseWing();
        flapping = false;
    }
    flapStarted = false;
}

void Flitmere::dontFlap()
{
    bird.raiseWing();
}

// A second hit before the revival replays the death from its start but takes no second life.
void Flitmere::killBird()
{
    paused = true;
    bird.setJustDied(true);
    bird.die(now);
    if (canLoseLife)
    {
        --lives;
        lifeLost = true;
        canLoseLife = false;
    }
}

void Flitmere::revive()
{
    if (paused && !bird.getIsDead())
    {
        paused = false;
        playMusic = true;
    }
    lifeLost = false;
    canLoseLife = true;
    bird.reinitialize();
    initialize();
}

// The pause cannot be lifted while the bird is dying.
void Flitmere::pause()
{
    if (!paused)
        paused = true;
    else if (!bird.getIsDead())
    {
        paused = false;
        playMusic = true;
    }
}

void Flitmere::restart()
{
    score = 0;
    lives = livesPerGame;
    revive();
}

// The sprite keeps the background picture's texture rectangle.
void Flitmere::gameOver()
{
    paused = true;
    gameIsOver = true;
    background->setTexture(gameOverTexture);
}
