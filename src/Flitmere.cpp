#include "Flitmere.hpp"

#include "AssetCache.hpp"
#include "Assets.hpp"

#include <sstream>

Flitmere::Flitmere() : Flitmere(AssetCache{}) {}

// The members are first built with their declared defaults (the bird, then three obstacles on
// "obstacle.bmp"); the body then builds the bird and the obstacles again, on their own pictures.
// Each obstacle reseeds the random generator, so the last one built fixes the heights drawn next.
Flitmere::Flitmere([[maybe_unused]] const AssetCache& loading)
{
    bird = Bird();
    obstacle1 = Obstacle("obstacle.bmp", obstacleStartX, 0.f);
    obstacle2 = Obstacle("obstacle2.bmp", obstacleStartX, 0.f);
    obstacle3 = Obstacle("volcano.bmp", obstacleStartX, 0.f);
    flapClock.restart(now);
    animationClock.restart(now);
    if (!loadPicture(backgroundTexture, "background.bmp"))
        reportLoadFailure("Error: unable to load background texture");
    if (!loadPicture(gameOverTexture, "gameOver.bmp"))
        reportLoadFailure("Error: unable to load gameOver texture");
    background.emplace(backgroundTexture);
}

Flitmere::Flitmere(const Flitmere& other)
    : bird(other.bird), obstacle1(other.obstacle1), obstacle2(other.obstacle2), obstacle3(other.obstacle3),
      flapping(other.flapping), flapStarted(other.flapStarted), lifeLost(other.lifeLost),
      canLoseLife(other.canLoseLife), paused(other.paused), gameIsOver(other.gameIsOver), playMusic(other.playMusic),
      windowFocused(other.windowFocused), flapClock(other.flapClock), animationClock(other.animationClock),
      flapTime(other.flapTime), animationTime(other.animationTime), totalFlapTime(other.totalFlapTime),
      totalAnimationTime(other.totalAnimationTime), musicLength(other.musicLength),
      backgroundTexture(other.backgroundTexture), gameOverTexture(other.gameOverTexture), background(other.background),
      score(other.score), lives(other.lives), now(other.now)
{
    // The game-over picture is shown exactly while the game is over; the texture rectangle is kept.
    background->setTexture(gameIsOver ? gameOverTexture : backgroundTexture);
}

Flitmere& Flitmere::operator=(const Flitmere& other)
{
    if (this == &other)
        return *this;
    bird = other.bird;
    obstacle1 = other.obstacle1;
    obstacle2 = other.obstacle2;
    obstacle3 = other.obstacle3;
    flapping = other.flapping;
    flapStarted = other.flapStarted;
    lifeLost = other.lifeLost;
    canLoseLife = other.canLoseLife;
    paused = other.paused;
    gameIsOver = other.gameIsOver;
    playMusic = other.playMusic;
    windowFocused = other.windowFocused;
    flapClock = other.flapClock;
    animationClock = other.animationClock;
    flapTime = other.flapTime;
    animationTime = other.animationTime;
    totalFlapTime = other.totalFlapTime;
    totalAnimationTime = other.totalAnimationTime;
    musicLength = other.musicLength;
    backgroundTexture = other.backgroundTexture;
    gameOverTexture = other.gameOverTexture;
    background = other.background;
    score = other.score;
    lives = other.lives;
    now = other.now;
    background->setTexture(gameIsOver ? gameOverTexture : backgroundTexture);
    return *this;
}

std::string Flitmere::intToString(int value) const
{
    std::ostringstream text;
    text << value;
    return text.str();
}

void Flitmere::setSmooth(bool smooth)
{
    bird.setSmooth(smooth);
    for (Obstacle* obstacle : {&obstacle1, &obstacle2, &obstacle3})
        obstacle->setSmooth(smooth);
    backgroundTexture.setSmooth(smooth);
    gameOverTexture.setSmooth(smooth);
}
