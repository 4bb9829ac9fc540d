#include "Collision.hpp"
#include "support/GameDriver.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
const sf::Vector2f obstacleAt{400.f, -400.f}; // its opening runs from y 350 to y 450

sf::Vector2f birdAt(float x, float y)
{
    return {x, y};
}

// A seed whose first two heights both open where a hovering bird flies (see `hover`).
unsigned seedForHoveringCourse()
{
    for (unsigned seed = 1;; ++seed)
    {
        std::srand(seed);
        const int first = std::rand() % 800;
        const int second = std::rand() % 800;
        if (first >= 310 && first <= 325 && second >= 310 && second <= 325)
            return seed;
    }
}

// A click every 46 frames holds the bird between about y 280 and y 350 for the first 750 frames.
void hover(GameDriver& driver, int frameIndex)
{
    if (frameIndex > 0 && frameIndex % 46 == 0)
        driver.frame({PlayerAction::Click});
    else
        driver.frame();
}

// Hovers until the condition holds; a course that never gets there fails after 1,000 frames instead of hanging.
template <typename Condition>
testing::AssertionResult hoverUntil(GameDriver& driver, int& frameIndex, Condition condition)
{
    constexpr int limit = 1'000;
    for (int count = 0; !condition(); ++count)
    {
        if (count == limit)
            return testing::AssertionFailure() << "not reached in " << limit << " frames";
        hover(driver, frameIndex++);
    }
    return testing::AssertionSuccess();
}
} // namespace

TEST(Collision, ABirdInsideTheOpeningIsClear)
{
    const float top = obstacleAt.y + 750.f;
    EXPECT_EQ(judgeContact(birdAt(400.f, top), obstacleAt), Contact::Clear);
    EXPECT_EQ(judgeContact(birdAt(400.f, top + 88.5f), obstacleAt), Contact::Clear);
    EXPECT_EQ(judgeContact(birdAt(400.f, top - 0.5f), obstacleAt), Contact::Hit);
    EXPECT_EQ(judgeContact(birdAt(400.f, top + 89.f), obstacleAt), Contact::Hit);
}

TEST(Collision, OnlyAStrictOverlapCanHit)
{
    const float above = obstacleAt.y; // far above the opening
    EXPECT_EQ(judgeContact(birdAt(obstacleAt.x - 33.f, above), obstacleAt), Contact::Clear);
    EXPECT_EQ(judgeContact(birdAt(obstacleAt.x - 32.5f, above), obstacleAt), Contact::Hit);
    EXPECT_EQ(judgeContact(birdAt(obstacleAt.x + 99.5f, above), obstacleAt), Contact::Hit);
    // Right edges touching is the moment the bird has passed: a point, never a hit.
    EXPECT_EQ(judgeContact(birdAt(obstacleAt.x + 100.f, above), obstacleAt), Contact::Passed);
    EXPECT_EQ(judgeContact(birdAt(obstacleAt.x + 100.5f, above), obstacleAt), Contact::Clear);
}

TEST(Collision, UsesTheFixedBoxNotThePictures)
{
    // Far below every opening the bird is hit, whatever the obstacle's height.
    EXPECT_EQ(judgeContact(birdAt(400.f, 838.f), {420.f, -1.f}), Contact::Hit);
    EXPECT_EQ(judgeContact(birdAt(400.f, 837.5f), {420.f, -1.f}), Contact::Clear);
    EXPECT_EQ(judgeContact(birdAt(400.f, -50.5f), {420.f, -800.f}), Contact::Hit);
    EXPECT_EQ(judgeContact(birdAt(400.f, -50.f), {420.f, -800.f}), Contact::Clear);
}

TEST(Scoring, EachObstacleScoresOnceExactlyWhenItsRightEdgeReachesTheBird)
{
    GameDriver driver;
    std::srand(seedForHoveringCourse());
    driver.game.restart();

    int frameIndex = 0;
    ASSERT_TRUE(hoverUntil(driver, frameIndex, [&] { return driver.obstacle1Position().x == 302.f; }));
    EXPECT_EQ(driver.game.getScore(), 0);
    hover(driver, frameIndex++);
    EXPECT_EQ(driver.obstacle1Position().x, 300.f);
    EXPECT_EQ(driver.game.getScore(), 1);
    EXPECT_EQ(driver.scene.scoreSound.getStatus(), sf::Sound::Status::Playing);
    hover(driver, frameIndex++);
    EXPECT_EQ(driver.hud(), "Score: 1\nLives: 3");

    ASSERT_TRUE(hoverUntil(driver, frameIndex, [&] { return driver.obstacle2Position().x == 300.f; }));
    EXPECT_EQ(driver.game.getScore(), 2);
    EXPECT_EQ(driver.game.getLives(), 3);
    ASSERT_TRUE(hoverUntil(driver, frameIndex, [&] { return driver.obstacle1Position().x == 1200.f; }));
    EXPECT_EQ(driver.game.getScore(), 2);
}

TEST(Scoring, ARestartAfterPointsBeginsAgainFromNought)
{
    GameDriver driver;
    std::srand(seedForHoveringCourse());
    driver.game.restart();
    int frameIndex = 0;
    ASSERT_TRUE(hoverUntil(driver, frameIndex, [&] { return driver.game.getScore() == 1; }));

    driver.frame({PlayerAction::RestartKey});
    EXPECT_EQ(driver.game.getScore(), 0);
    driver.frame();
    EXPECT_EQ(driver.hud(), "Score: 0\nLives: 3");
}

TEST(Lives, AHitPausesTheWorldAndTheDeathRunsThreeAndAHalfSeconds)
{
    GameDriver driver;
    // With no input the bird sinks to the bottom, below every opening.
    driver.framesUntil([&] { return driver.birdPosition().y >= 900.f; });
    ASSERT_EQ(driver.game.getLives(), 3);
    sf::Vector2f before = driver.birdPosition();
    driver.framesUntil(
        [&]
        {
            const bool hit = driver.game.viewBird().getIsDead();
            if (!hit)
                before = driver.birdPosition();
            return hit;
        });
    const sf::Time hitAt = driver.now - GameDriver::frameTime;
    EXPECT_TRUE(driver.game.getPaused());
    EXPECT_EQ(driver.game.getLives(), 2);
    // The hit frame applies the first step twice: once for the hit, once in its end-of-frame decision.
    EXPECT_EQ(driver.birdPosition(), before + 2.f * sf::Vector2f(-6.f, -2.f));
    const sf::Vector2f obstacle = driver.obstacle1Position();

    driver.framesUntil([&] { return !driver.game.viewBird().getIsDead(); });
    EXPECT_GE(driver.now - GameDriver::frameTime - hitAt, sf::microseconds(3'500'000));
    EXPECT_LT(driver.now - GameDriver::frameTime - hitAt, sf::microseconds(3'500'000) + GameDriver::frameTime);
    EXPECT_EQ(driver.obstacle1Position(), obstacle);
    EXPECT_TRUE(driver.game.getLifeLost());

    driver.frame();
    EXPECT_FALSE(driver.game.getPaused());
    EXPECT_FALSE(driver.game.getLifeLost());
    EXPECT_TRUE(driver.game.getCanLoseLife());
    EXPECT_EQ(driver.obstacle1Position().x, 1200.f);
    EXPECT_EQ(driver.obstacle2Position().x, 1800.f);
    EXPECT_EQ(driver.birdPosition(), sf::Vector2f(400.f, 350.f));
}

TEST(Lives, TheThirdHitShowsTheGameOverPictureWithNoLivesLeft)
{
    GameDriver driver;
    driver.framesUntil([&] { return driver.game.getGameIsOver(); }, 5'000);
    EXPECT_EQ(driver.game.getLives(), 0);
    EXPECT_EQ(driver.game.getScore(), 0);
    driver.frames(3);
    EXPECT_TRUE(driver.game.getPaused());
    EXPECT_EQ(driver.hud(), "Score: 0\nLives: 0");

    driver.frame({PlayerAction::RestartKey});
    driver.frame();
    EXPECT_EQ(driver.hud(), "Score: 0\nLives: 3");
    EXPECT_FALSE(driver.game.getGameIsOver());
}
