#include "support/GameDriver.hpp"

#include <gtest/gtest.h>

namespace
{
constexpr sf::Time flapLength = sf::microseconds(300'000);

// Runs frames with no input until the bird's death sequence is over and it has been revived.
void dieAndRevive(GameDriver& driver)
{
    driver.framesUntil([&] { return !driver.game.viewBird().getIsDead() && !driver.game.getLifeLost(); });
}
} // namespace

TEST(Flap, RisesThreePixelsPerUpdateUntilItsTimeIsUpThenSinks)
{
    GameDriver driver; // play begins with a flap at time zero
    driver.frame();
    EXPECT_EQ(driver.birdPosition().y, 347.f);
    EXPECT_TRUE(driver.game.viewBird().getWingIsDown());

    driver.now = flapLength; // exactly the flap's length: the flap goes on
    driver.frame();
    EXPECT_EQ(driver.birdPosition().y, 344.f);
    EXPECT_TRUE(driver.game.getFlapping());

    driver.now = flapLength + sf::microseconds(1); // first update past it: down and up again
    driver.frame();
    EXPECT_EQ(driver.birdPosition().y, 343.f);
    EXPECT_FALSE(driver.game.getFlapping());
    EXPECT_TRUE(driver.game.viewBird().getWingIsUp());

    driver.frame();
    EXPECT_EQ(driver.birdPosition().y, 345.f);
    driver.frame();
    EXPECT_EQ(driver.birdPosition().y, 347.f);
}

TEST(Flap, AClickMidFlapStartsItOver)
{
    GameDriver driver;
    driver.now = sf::milliseconds(200);
    driver.frame({PlayerAction::Click});
    const float clickedAt = driver.birdPosition().y;

    driver.now = sf::milliseconds(450); // past the first flap, inside the second
    driver.frame();
    EXPECT_TRUE(driver.game.getFlapping());
    EXPECT_EQ(driver.birdPosition().y, clickedAt - 3.f);

    driver.now = sf::milliseconds(501);
    driver.frame();
    EXPECT_FALSE(driver.game.getFlapping());
}

TEST(Flap, AClickWhilePausedDoesNothing)
{
    GameDriver driver;
    driver.now = sf::seconds(1);
    driver.frame();
    ASSERT_FALSE(driver.game.getFlapping());

    driver.frame({PlayerAction::PauseKey, PlayerAction::Click});
    EXPECT_FALSE(driver.game.getFlapping());
    const float height = driver.birdPosition().y;
    driver.frame({PlayerAction::PauseKey});
    EXPECT_EQ(driver.birdPosition().y, height + 2.f);
}

TEST(Flap, APauseLongerThanTheRestOfTheFlapEndsItOnTheFirstUpdate)
{
    GameDriver driver;
    driver.frame({PlayerAction::PauseKey}); // paused before any update
    driver.now = sf::seconds(2);
    driver.frame({PlayerAction::PauseKey});
    EXPECT_EQ(driver.birdPosition().y, 349.f);
    EXPECT_FALSE(driver.game.getFlapping());
}

TEST(GameControl, AfterConstructionAFlapIsRequestedButNotYetUnderWay)
{
    const Flitmere game;
    EXPECT_FALSE(game.getFlapping());
    EXPECT_TRUE(game.getFlapStarted());
    EXPECT_TRUE(game.getPlayMusic());
    EXPECT_EQ(game.getLives(), 3);
    EXPECT_EQ(game.getScore(), 0);
    EXPECT_EQ(game.getTotalFlapTime(), sf::microseconds(300'000));
    EXPECT_EQ(game.getTotalAnimationTime(), sf::microseconds(3'000));
}

TEST(GameControl, InitializePlacesBothObstaclesAndBeginsAFlap)
{
    GameDriver driver;
    EXPECT_EQ(driver.obstacle1Position().x, 1200.f);
    EXPECT_EQ(driver.obstacle2Position().x, 1800.f);
    EXPECT_TRUE(driver.game.getFlapping());
    EXPECT_TRUE(driver.game.getFlapStarted());
    EXPECT_EQ(driver.game.viewBird().getFlapSound().getStatus(), sf::Sound::Status::Playing);
}

TEST(GameControl, InitializeLiftsAPlayersPauseButNotADeath)
{
    GameDriver driver;
    driver.game.pause();
    driver.game.initialize();
    EXPECT_FALSE(driver.game.getPaused());

    driver.game.killBird();
    driver.game.initialize();
    EXPECT_TRUE(driver.game.getPaused());
    EXPECT_TRUE(driver.game.getPlayMusic());
}

TEST(GameControl, PauseCannotBeLiftedWhileTheBirdIsDying)
{
    GameDriver driver;
    driver.game.pause();
    EXPECT_TRUE(driver.game.getPaused());
    driver.game.pause();
    EXPECT_FALSE(driver.game.getPaused());
    EXPECT_TRUE(driver.game.getPlayMusic());

    driver.game.killBird();
    driver.game.pause();
    EXPECT_TRUE(driver.game.getPaused());
    driver.frame({PlayerAction::PauseKey});
    EXPECT_TRUE(driver.game.getPaused());
}

TEST(GameControl, ASecondHitBeforeTheRevivalTakesNoLife)
{
    GameDriver driver;
    driver.game.killBird();
    EXPECT_EQ(driver.game.getLives(), 2);
    EXPECT_TRUE(driver.game.getLifeLost());
    EXPECT_FALSE(driver.game.getCanLoseLife());

    driver.frames(30);
    ASSERT_EQ(driver.game.viewBird().getBird().getRotation(), sf::degrees(90));
    driver.game.killBird();
    EXPECT_EQ(driver.game.getLives(), 2);
    EXPECT_EQ(driver.game.viewBird().getBird().getRotation(),
              sf::degrees(-135).wrapUnsigned()); // the sequence began again
}

TEST(GameControl, RestartDuringTheDeathSequenceCutsItShort)
{
    GameDriver driver;
    driver.frames(10);
    driver.game.killBird();
    driver.frames(20);
    driver.frame({PlayerAction::RestartKey});
    EXPECT_FALSE(driver.game.viewBird().getIsDead());
    EXPECT_FALSE(driver.game.getPaused());
    EXPECT_FALSE(driver.game.getLifeLost());
    EXPECT_EQ(driver.game.getLives(), 3);
    EXPECT_EQ(driver.game.getScore(), 0);
    EXPECT_EQ(driver.obstacle1Position().x, 1198.f); // placed again, then moved by the frame's update
    EXPECT_EQ(driver.obstacle2Position().x, 1798.f);
    EXPECT_EQ(driver.birdPosition(), sf::Vector2f(400.f, 347.f));
}

TEST(GameControl, ThreeDeathsEndTheGameAndRestartBeginsANewOne)
{
    GameDriver driver;
    const sf::Texture* backgroundPicture = &driver.game.getBackground().getTexture();
    const sf::IntRect backgroundRectangle = driver.game.getBackground().getTextureRect();
    for (int death = 0; death < 2; ++death)
    {
        driver.game.killBird();
        dieAndRevive(driver);
    }
    EXPECT_EQ(driver.game.getLives(), 1);
    driver.game.killBird();
    driver.framesUntil([&] { return driver.game.getGameIsOver(); });
    EXPECT_EQ(driver.game.getLives(), 0);
    EXPECT_TRUE(driver.game.getPaused());
    EXPECT_NE(&driver.game.getBackground().getTexture(), backgroundPicture);
    EXPECT_EQ(driver.game.getBackground().getTextureRect(), backgroundRectangle);

    driver.frame({PlayerAction::PauseKey}); // lifts the pause for one update only
    EXPECT_TRUE(driver.game.getPaused());
    EXPECT_TRUE(driver.game.getGameIsOver());
    EXPECT_EQ(driver.game.getLives(), 0);

    driver.frame({PlayerAction::RestartKey});
    EXPECT_FALSE(driver.game.getGameIsOver());
    EXPECT_FALSE(driver.game.getPaused());
    EXPECT_EQ(driver.game.getLives(), 3);
    EXPECT_EQ(&driver.game.getBackground().getTexture(), backgroundPicture);
}
