#include "Obstacle.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <utility>

namespace
{
sf::Vector2f positionOf(const Obstacle& obstacle)
{
    return obstacle.getObstacle().getPosition();
}

// The first seed whose first random value, reduced as heights are, is `wanted`.
unsigned seedDrawing(int wanted)
{
    for (unsigned seed = 1;; ++seed)
    {
        std::srand(seed);
        if (std::rand() % 800 == wanted)
            return seed;
    }
}
} // namespace

TEST(ObstacleScrolling, StaysWhereItWasBuiltWhateverHeightItDrew)
{
    const Obstacle obstacle("obstacle.bmp", 1200.f, 0.f);
    EXPECT_EQ(positionOf(obstacle), sf::Vector2f(1200.f, 0.f));
    const Obstacle other("obstacle.bmp", -5.5f, 42.f);
    EXPECT_EQ(positionOf(other), sf::Vector2f(-5.5f, 42.f));
}

TEST(ObstacleScrolling, MovesTwoPixelsLeftAndKeepsItsHeight)
{
    Obstacle obstacle("obstacle.bmp", 1200.f, 0.f);
    obstacle.initializeObstacle(1200.f);
    const float height = positionOf(obstacle).y;
    obstacle.moveObstacle();
    EXPECT_EQ(positionOf(obstacle), sf::Vector2f(1198.f, height));
}

TEST(ObstacleScrolling, WrapsAtMinusThreeHundredToExactlyTwelveHundredDroppingTheOvershootOfAnOddPosition)
{
    for (const auto& [start, last] : {std::pair{-298.f, -300.f}, {-299.f, -301.f}})
    {
        Obstacle obstacle("obstacle.bmp", 1200.f, 0.f);
        obstacle.initializeObstacle(start);
        obstacle.moveObstacle();
        EXPECT_EQ(positionOf(obstacle).x, last);
        obstacle.moveObstacle();
        EXPECT_EQ(positionOf(obstacle).x, 1200.f);
    }
}

TEST(ObstacleScrolling, OnePassFromTheRightEdgeTakes751Moves)
{
    Obstacle obstacle("obstacle.bmp", 1200.f, 0.f);
    obstacle.initializeObstacle(1200.f);
    for (int move = 0; move < 750; ++move)
        obstacle.moveObstacle();
    EXPECT_EQ(positionOf(obstacle).x, -300.f);
    obstacle.moveObstacle();
    EXPECT_EQ(positionOf(obstacle).x, 1200.f);
}

TEST(ObstacleHeights, RunFromMinusEightHundredToMinusOne)
{
    Obstacle obstacle("obstacle.bmp", 1200.f, 0.f);

    std::srand(seedDrawing(0));
    obstacle.initializeObstacle(1200.f);
    EXPECT_EQ(positionOf(obstacle).y, -800.f);

    std::srand(seedDrawing(799));
    obstacle.initializeObstacle(1200.f);
    EXPECT_EQ(positionOf(obstacle).y, -1.f);

    // A wrap draws its height the same way.
    obstacle.initializeObstacle(-300.f);
    std::srand(seedDrawing(0));
    obstacle.moveObstacle();
    EXPECT_EQ(positionOf(obstacle), sf::Vector2f(1200.f, -800.f));
}

TEST(ObstacleHeights, AreWholeNumbersWithinRangeOverManyWraps)
{
    Obstacle obstacle("obstacle.bmp", 1200.f, 0.f);
    obstacle.initializeObstacle(-300.f);
    for (int wrap = 0; wrap < 2000; ++wrap)
    {
        obstacle.moveObstacle();
        const float height = positionOf(obstacle).y;
        ASSERT_GE(height, -800.f);
        ASSERT_LE(height, -1.f);
        ASSERT_EQ(height, static_cast<float>(static_cast<int>(height)));
        obstacle.initializeObstacle(-300.f);
    }
}

TEST(ObstacleHeights, EveryConstructionRestartsTheSequenceFromTheCalendarTime)
{
    // Two constructions in the same second seed the same sequence; retry across a second boundary.
    for (int attempt = 0; attempt < 3; ++attempt)
    {
        const std::time_t second = std::time(nullptr);
        Obstacle first("obstacle.bmp", 1200.f, 0.f);
        first.initializeObstacle(1200.f);
        const float firstHeight = positionOf(first).y;

        std::srand(12345); // anything between the two constructions is forgotten
        std::rand();
        Obstacle second_("obstacle.bmp", 1200.f, 0.f);
        second_.initializeObstacle(1200.f);
        if (std::time(nullptr) != second)
            continue;

        EXPECT_EQ(positionOf(second_).y, firstHeight);
        std::srand(static_cast<unsigned>(second));
        std::rand(); // the construction's own draw
        EXPECT_EQ(positionOf(second_).y, static_cast<float>(std::rand() % 800) - 800.f);
        return;
    }
    FAIL() << "the calendar second kept changing";
}

TEST(ObstacleHeights, InitializeRebindsThePictureAndPlacesTheObstacle)
{
    std::optional<Obstacle> obstacle;
    obstacle.emplace("obstacle.bmp", 1200.f, 0.f);
    std::srand(seedDrawing(123));
    obstacle->initializeObstacle(1800.f);
    EXPECT_EQ(positionOf(*obstacle), sf::Vector2f(1800.f, -677.f));
    EXPECT_EQ(obstacle->getObstacle().getTextureRect().size,
              sf::Vector2i(obstacle->getObstacle().getTexture().getSize()));
}
