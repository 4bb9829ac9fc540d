#include "Obstacle.hpp"

#include "Assets.hpp"

#include <cstdlib>
#include <ctime>
#include <utility>

namespace
{
constexpr float scrollStep = 2.f;
constexpr float leftmostX = -300.f;
constexpr float reentryX = 1200.f;
// Heights are whole numbers from -800 to -1: the picture's top edge lies 1 to 800 px above the window.
constexpr int heightChoices = 800;
constexpr float highestOffset = -800.f;
} // namespace

Obstacle::Obstacle(const std::string& fileName, float x, float y)
    : obstacleTexture(loadTexture(fileName, "unable to load obstacleTexture from file"))
{
    obstacleSprite.emplace(obstacleTexture);
    obstacleSprite->setPosition({x, y});
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    drawGapOffset();
}

Obstacle::Obstacle(const Obstacle& other)
    : obstacleTexture(other.obstacleTexture), obstacleSprite(other.obstacleSprite), gapOffset(other.gapOffset)
{
    obstacleSprite->setTexture(obstacleTexture);
}

Obstacle& Obstacle::operator=(const Obstacle& other)
{
    if (this != &other)
        *this = Obstacle(other);
    return *this;
}

Obstacle& Obstacle::operator=(Obstacle&& other)
{
    if (this == &other)
        return *this;
    obstacleTexture = std::move(other.obstacleTexture);
    obstacleSprite = other.obstacleSprite;
    gapOffset = other.gapOffset;
    obstacleSprite->setTexture(obstacleTexture);
    return *this;
}

void Obstacle::drawGapOffset()
{
    gapOffset = static_cast<float>(std::rand() % heightChoices) + highestOffset;
}

void Obstacle::moveObstacle()
{
    if (obstacleSprite->getPosition().x > leftmostX)
    {
        obstacleSprite->move({-scrollStep, 0.f});
        return;
    }
    // The overshoot past the left limit is dropped: the obstacle re-enters at exactly x 1200.
    drawGapOffset();
    obstacleSprite->setPosition({reentryX, gapOffset});
}

void Obstacle::initializeObstacle(float x)
{
    drawGapOffset();
    obstacleSprite->setTexture(obstacleTexture);
    obstacleSprite->setPosition({x, gapOffset});
}
