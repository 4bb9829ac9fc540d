#include "support/GameDriver.hpp"

#include <gtest/gtest.h>

namespace
{
constexpr sf::Time tuneLoop = sf::seconds(95);

const sf::Sound& tune(const GameDriver& driver)
{
    return driver.scene.music;
}
} // namespace

TEST(FrameOrder, ClosingTheWindowStopsTheFrameAtOnce)
{
    GameDriver driver;
    driver.frame();
    const sf::Vector2f before = driver.birdPosition();
    EXPECT_EQ(driver.frame({PlayerAction::PauseKey, PlayerAction::CloseWindow, PlayerAction::RestartKey}),
              Flitmere::FrameEnd::WindowClosed);
    EXPECT_TRUE(driver.game.getPaused()); // actions before the close are handled
    EXPECT_EQ(driver.birdPosition(), before);
    EXPECT_EQ(driver.frame(), Flitmere::FrameEnd::Continue);
}

TEST(FrameOrder, NothingMovesWhilePausedButTheDeathSequenceGoesOn)
{
    GameDriver driver;
    driver.frames(5);
    driver.frame({PlayerAction::PauseKey});
    const sf::Vector2f bird = driver.birdPosition();
    const sf::Vector2f obstacle = driver.obstacle1Position();
    const sf::Vector2f cloud = driver.scene.scenery.getCloud1().getPosition();
    driver.frame({}, true);
    driver.frames(10);
    EXPECT_EQ(driver.birdPosition(), bird);
    EXPECT_EQ(driver.obstacle1Position(), obstacle);
    EXPECT_EQ(driver.scene.scenery.getCloud1().getPosition(), cloud);
    EXPECT_EQ(driver.game.viewBird().getBird().getRotation(), sf::Angle::Zero); // no dive while paused

    driver.frame({PlayerAction::PauseKey});
    driver.game.killBird(); // paused by the hit; the end-of-frame decision still runs
    const sf::Vector2f hit = driver.birdPosition();
    driver.frame();
    EXPECT_NE(driver.birdPosition(), hit);
    EXPECT_EQ(driver.obstacle1Position(), obstacle + sf::Vector2f(-2.f, 0.f));
}

TEST(FrameOrder, TheRightButtonDivesOnlyWhileHeld)
{
    GameDriver driver;
    driver.now = sf::seconds(1); // past the opening flap
    driver.frame({}, true);
    EXPECT_EQ(driver.game.viewBird().getBird().getRotation(), sf::degrees(45));
    const float dived = driver.birdPosition().y;
    driver.frame();
    EXPECT_EQ(driver.game.viewBird().getBird().getRotation(), sf::Angle::Zero);
    EXPECT_EQ(driver.birdPosition().y, dived + 2.f);
}

TEST(FrameOrder, TheHudShowsTheStateFromBeforeTheUpdate)
{
    GameDriver driver;
    driver.frame();
    EXPECT_EQ(driver.hud(), "Score: 0\nLives: 3");
    // With no input the bird sinks to the bottom, where the first obstacle to reach it hits it.
    driver.framesUntil([&] { return driver.game.getLives() == 2; });
    EXPECT_EQ(driver.hud(), "Score: 0\nLives: 3");
    driver.frame();
    EXPECT_EQ(driver.hud(), "Score: 0\nLives: 2");
}

TEST(Tune, StartsWithPlayAndPausesWithTheGame)
{
    GameDriver driver;
    driver.frame();
    EXPECT_EQ(tune(driver).getStatus(), sf::Sound::Status::Playing);
    EXPECT_FALSE(driver.game.getPlayMusic());

    driver.frame({PlayerAction::PauseKey});
    EXPECT_EQ(tune(driver).getStatus(), sf::Sound::Status::Playing); // paused from the next frame on
    driver.frame();
    EXPECT_EQ(tune(driver).getStatus(), sf::Sound::Status::Paused);
    driver.frame({PlayerAction::PauseKey});
    EXPECT_TRUE(driver.game.getPlayMusic());
    driver.frame();
    EXPECT_EQ(tune(driver).getStatus(), sf::Sound::Status::Playing);
}

TEST(Tune, StartsOverOnceItHasPlayedNinetyFiveSeconds)
{
    GameDriver driver;
    driver.frame();
    driver.scene.music.setPlayingOffset(tuneLoop - sf::milliseconds(500));
    driver.frame();
    EXPECT_GE(tune(driver).getPlayingOffset(), tuneLoop - sf::milliseconds(500));

    driver.scene.music.setPlayingOffset(tuneLoop);
    driver.frame();
    EXPECT_LT(tune(driver).getPlayingOffset(), sf::seconds(1));
    EXPECT_EQ(tune(driver).getStatus(), sf::Sound::Status::Playing);
}

TEST(Tune, StartsOverOnEveryNewGame)
{
    GameDriver driver;
    driver.frame();
    driver.scene.music.setPlayingOffset(sf::seconds(40));
    driver.frame({PlayerAction::RestartKey});
    EXPECT_TRUE(driver.game.getPlayMusic()); // requested by the restart, served next frame
    driver.frame();
    EXPECT_LT(tune(driver).getPlayingOffset(), sf::seconds(1));
}

TEST(Tune, IsPausedAndResumedInTheSameFrameWhenBothAreDue)
{
    GameDriver driver;
    driver.frame();
    driver.scene.music.setPlayingOffset(sf::seconds(30));
    driver.game.killBird();
    driver.frame();
    ASSERT_EQ(tune(driver).getStatus(), sf::Sound::Status::Paused);
    driver.game.initialize(); // requests the tune while the dying bird keeps the game paused
    driver.frame();
    EXPECT_EQ(tune(driver).getStatus(), sf::Sound::Status::Playing);
    EXPECT_GE(tune(driver).getPlayingOffset(), sf::seconds(30)); // a paused tune resumes
    driver.frame();
    EXPECT_EQ(tune(driver).getStatus(), sf::Sound::Status::Paused);
}

TEST(Focus, ItsLossPausesARunningGameWhichStaysPausedWhenItComesBackUntilP)
{
    GameDriver driver;
    driver.frames(3);
    // Away and straight back within one frame, as a pointer passing over a window can make it: no pause.
    driver.frame({PlayerAction::FocusLost, PlayerAction::FocusGained});
    EXPECT_FALSE(driver.game.getPaused());

    driver.frame({PlayerAction::FocusLost});
    EXPECT_TRUE(driver.game.getPaused());
    EXPECT_TRUE(driver.game.getWaitsForPlayer());
    const sf::Vector2f bird = driver.birdPosition();
    driver.frame({PlayerAction::FocusGained});
    driver.frames(10);
    EXPECT_EQ(driver.birdPosition(), bird);
    EXPECT_FALSE(driver.game.getWaitsForPlayer());
    driver.frame({PlayerAction::PauseKey});
    EXPECT_FALSE(driver.game.getPaused());
}

TEST(Focus, ADyingBirdFallsOnAndIsRevivedIntoAPausedGame)
{
    GameDriver driver;
    driver.frame();
    driver.game.killBird();
    driver.frame({PlayerAction::FocusLost});
    EXPECT_FALSE(driver.game.getWaitsForPlayer()) << "the death sequence still has frames to play";
    const float falling = driver.birdPosition().y;
    driver.frames(5);
    EXPECT_GT(driver.birdPosition().y, falling);

    driver.framesUntil([&] { return !driver.game.getLifeLost(); }); // revived
    driver.frame();
    EXPECT_TRUE(driver.game.getPaused()) << "a revived bird flies on unseen";
    EXPECT_EQ(driver.game.getLives(), 2);
}

TEST(SeveralUpdates, AFlapLiftsTheBirdAsHighHoweverManyFramesShowIt)
{
    // 18 updates of 3 px up, the one that ends the flap 1 px (3 up, then 2 down), then 2 px down each.
    constexpr float flown = 18 * 3.f + 1.f - 17 * 2.f;
    for (const int updatesPerFrame : {1, 2, 3, 4}) // 60, 30, 20 and 15 frames a second
    {
        SCOPED_TRACE(updatesPerFrame);
        GameDriver driver;
        driver.frames(30); // past the opening flap
        const float start = driver.birdPosition().y;
        driver.frame({PlayerAction::Click}, false, updatesPerFrame);
        for (int updates = updatesPerFrame; updates < 36; updates += updatesPerFrame)
            driver.frame({}, false, updatesPerFrame);
        EXPECT_EQ(driver.birdPosition().y, start - flown);
    }
}

TEST(SeveralUpdates, EachIsJudgedWholeSoAHitInTheMiddleOfAFrameOfThreeStopsTheWorldThere)
{
    // Without input the bird sinks to the bottom, below every opening; the first obstacle's left edge
    // reaches it at x 432. One game sees it at 60 frames a second, the other at 20.
    GameDriver each;
    GameDriver inThrees;
    for (GameDriver* driver : {&each, &inThrees})
        driver->framesUntil([&] { return driver->obstacle1Position().x == 436.f; });
    inThrees.frame({}, false, 3);
    EXPECT_EQ(inThrees.game.getLives(), 2);
    EXPECT_EQ(inThrees.obstacle1Position().x, 432.f) << "the world moved on after the hit";
    EXPECT_EQ(inThrees.hud(), "Score: 0\nLives: 2") << "the HUD is built before the frame's last update";

    // The death sequence goes on at every update: the bird falls as far at both rates.
    each.frames(3 + 60);
    for (int frame = 0; frame < 20; ++frame)
        inThrees.frame({}, false, 3);
    EXPECT_NEAR(inThrees.birdPosition().y, each.birdPosition().y, 4.f);
}
