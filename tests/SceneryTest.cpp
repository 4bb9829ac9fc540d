#include "support/GameDriver.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>

#include <gtest/gtest.h>

namespace
{
void scroll(Scenery& scenery, int updates)
{
    for (int i = 0; i < updates; ++i)
        scenery.scroll();
}
} // namespace

TEST(Scenery, StartsWithTheThirdCloudAndTheFirstStripOnScreen)
{
    const Scenery scenery;
    EXPECT_EQ(scenery.getCloud1().getPosition(), sf::Vector2f(1200.f, 73.f));
    EXPECT_EQ(scenery.getCloud2().getPosition(), sf::Vector2f(1200.f, 79.f));
    EXPECT_EQ(scenery.getCloud3().getPosition(), sf::Vector2f(0.f, 75.f));
    EXPECT_EQ(scenery.getMountain1().getPosition(), sf::Vector2f(0.f, 380.f));
    EXPECT_EQ(scenery.getMountain2().getPosition(), sf::Vector2f(1200.f, 380.f));
}

TEST(Scenery, EachSpriteDriftsAtItsOwnSpeed)
{
    Scenery scenery;
    scenery.scroll();
    EXPECT_EQ(scenery.getCloud1().getPosition(), sf::Vector2f(1199.5f, 73.f));
    EXPECT_EQ(scenery.getCloud2().getPosition(), sf::Vector2f(1199.f, 79.f));
    EXPECT_EQ(scenery.getCloud3().getPosition(), sf::Vector2f(-1.5f, 75.f));
    EXPECT_EQ(scenery.getMountain1().getPosition(), sf::Vector2f(-0.75f, 380.f));
    EXPECT_EQ(scenery.getMountain2().getPosition(), sf::Vector2f(1199.25f, 380.f));
}

TEST(Scenery, TheThirdCloudComesBackLowerAfterTwoHundredUpdates)
{
    Scenery scenery;
    scroll(scenery, 200);
    EXPECT_EQ(scenery.getCloud3().getPosition(), sf::Vector2f(-300.f, 75.f));
    scenery.scroll();
    EXPECT_EQ(scenery.getCloud3().getPosition(), sf::Vector2f(1200.f, 150.f));
    scenery.scroll();
    EXPECT_EQ(scenery.getCloud3().getPosition(), sf::Vector2f(1198.5f, 150.f));
}

TEST(Scenery, CloudsWrapAtTheirOwnTimesToTheirOwnHeights)
{
    Scenery scenery;
    scroll(scenery, 1500);
    EXPECT_EQ(scenery.getCloud2().getPosition(), sf::Vector2f(-300.f, 79.f));
    scenery.scroll();
    EXPECT_EQ(scenery.getCloud2().getPosition(), sf::Vector2f(1200.f, 79.f));
    scroll(scenery, 1499);
    EXPECT_EQ(scenery.getCloud1().getPosition(), sf::Vector2f(-300.f, 73.f));
    scenery.scroll();
    EXPECT_EQ(scenery.getCloud1().getPosition(), sf::Vector2f(1200.f, 73.f));
}

TEST(Scenery, MountainStripsTakeTurnsWithoutDriftingApart)
{
    Scenery scenery;
    scroll(scenery, 1600);
    EXPECT_EQ(scenery.getMountain1().getPosition().x, -1200.f);
    scenery.scroll(); // update 1601: the first strip wraps, the second still moves
    EXPECT_EQ(scenery.getMountain1().getPosition().x, 1200.f);
    EXPECT_EQ(scenery.getMountain2().getPosition().x, -0.75f);

    scroll(scenery, 1599); // update 3200
    EXPECT_EQ(scenery.getMountain2().getPosition().x, -1200.f);
    scenery.scroll(); // update 3201: the first strip has already moved to 0
    EXPECT_EQ(scenery.getMountain1().getPosition().x, 0.f);
    EXPECT_EQ(scenery.getMountain2().getPosition().x, 1200.f);

    // Many turns later the two gaps still alternate between 1200.75 and 1200.
    scroll(scenery, 1600 * 20);
    for (int update = 0; update < 3300; ++update)
    {
        scenery.scroll();
        const float first = scenery.getMountain1().getPosition().x;
        const float second = scenery.getMountain2().getPosition().x;
        const float gap = first > second ? first - second : second - first;
        ASSERT_TRUE(gap == 1200.f || gap == 1200.75f) << "gap " << gap << " at update " << update;
    }
}

TEST(Scenery, NoSkyShowsBetweenTheMountainStripsWhereverTheyMeet)
{
    // From update 1602 to 1605 the strips are 1200.75 px apart and meet inside the window at each of
    // the four quarter-pixel offsets a 0.75 px step reaches. The strip's bottom row is solid ground,
    // so every column of the window's bottom row must show a strip, not the background.
    const sf::Color background = sf::Color::Magenta;
    sf::RenderTexture target({1200, 800});
    Scenery scenery;
    scroll(scenery, 1601);
    for (int update = 1602; update <= 1605; ++update)
    {
        scenery.scroll();
        target.clear(background);
        target.draw(scenery.getMountain1());
        target.draw(scenery.getMountain2());
        target.display();
        const sf::Image frame = target.getTexture().copyToImage();
        for (unsigned x = 0; x < frame.getSize().x; ++x)
            ASSERT_NE(frame.getPixel({x, 799}), background)
                << "a column of background at x " << x << " after update " << update << ", strips at "
                << scenery.getMountain1().getPosition().x << " and " << scenery.getMountain2().getPosition().x;
    }
}

TEST(Scenery, StandsStillWhilePausedAndIsNotResetByANewGame)
{
    GameDriver driver;
    driver.frames(10);
    const sf::Vector2f cloud = driver.scene.scenery.getCloud3().getPosition();
    EXPECT_EQ(cloud, sf::Vector2f(-15.f, 75.f));

    driver.frame({PlayerAction::PauseKey});
    driver.frames(5);
    EXPECT_EQ(driver.scene.scenery.getCloud3().getPosition(), cloud);

    driver.frame({PlayerAction::PauseKey, PlayerAction::RestartKey});
    EXPECT_EQ(driver.scene.scenery.getCloud3().getPosition(), cloud - sf::Vector2f(1.5f, 0.f));
    EXPECT_EQ(driver.scene.scenery.getMountain1().getPosition(), sf::Vector2f(-8.25f, 380.f));
}
