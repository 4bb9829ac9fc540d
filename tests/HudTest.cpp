#include "Hud.hpp"
#include "Flitmere.hpp"
#include "PlayScene.hpp"

#include <gtest/gtest.h>

#include <climits>

TEST(Hud, ShowsScoreAndLivesOnTwoLines)
{
    EXPECT_EQ(hudString(0, 3), "Score: 0\nLives: 3");
    EXPECT_EQ(hudString(1234567, 0), "Score: 1234567\nLives: 0");
    EXPECT_EQ(hudString(-5, -1), "Score: -5\nLives: -1");
    EXPECT_EQ(hudString(INT_MIN, INT_MAX), "Score: -2147483648\nLives: 2147483647");
}

TEST(Hud, IsSmallRedTextInTheTopRightCorner)
{
    const PlayScene scene;
    ASSERT_TRUE(scene.hudFontOpened);
    EXPECT_EQ(scene.hudText.getString().toAnsiString(), "Score: 0\nLives: 3");
    EXPECT_EQ(scene.hudText.getCharacterSize(), 14u);
    EXPECT_EQ(scene.hudText.getPosition(), sf::Vector2f(1000.f, 2.f));
    EXPECT_EQ(scene.hudText.getFillColor(), sf::Color(255, 0, 0, 255));
    EXPECT_EQ(scene.hudText.getStyle(), sf::Text::Regular);
    // Both lines fit inside the window.
    const sf::FloatRect bounds = scene.hudText.getGlobalBounds();
    EXPECT_LE(bounds.position.x + bounds.size.x, 1200.f);
    EXPECT_GT(bounds.size.y, 14.f);
}

TEST(Hud, IntToStringWritesPlainDecimal)
{
    const Flitmere game;
    EXPECT_EQ(game.intToString(0), "0");
    EXPECT_EQ(game.intToString(-42), "-42");
    EXPECT_EQ(game.intToString(1000000), "1000000");
}
