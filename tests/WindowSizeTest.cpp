#include "WindowSize.hpp"

#include <gtest/gtest.h>

TEST(WindowSize, IsTheWorldsWhereTheFramedWindowFitsTheUsableAreaElseTheLargestOfItsShapeThatDoes)
{
    const sf::Vector2u fullHd{1920, 1080};
    const platform::WindowRoom openbox{fullHd, {2, 22}};
    EXPECT_EQ(windowSize(fullHd, openbox), worldSize);
    // Exactly room for the world and its frame.
    EXPECT_EQ(windowSize({1202, 822}, {std::nullopt, {2, 22}}), worldSize);
    // A laptop's 1366x768 under a 32 px panel: 736 - 22 = 714 px of height, 1071 px wide at 3:2.
    EXPECT_EQ(windowSize({1366, 768}, {sf::Vector2u{1366, 736}, {2, 22}}), sf::Vector2u(1071, 714));
    // A work area spanning two monitors is no room on the smaller one the window opens on.
    EXPECT_EQ(windowSize({1280, 720}, {sf::Vector2u{3200, 1080}, {0, 0}}), sf::Vector2u(1080, 720));
    EXPECT_EQ(windowSize({1024, 1080}, {sf::Vector2u{3200, 1080}, {0, 0}}), sf::Vector2u(1023, 682));
    // Narrow rather than low.
    EXPECT_EQ(windowSize({800, 1280}, {std::nullopt, {0, 0}}), sf::Vector2u(798, 532));
    // A screen with no room at all still gets a window.
    EXPECT_EQ(windowSize({10, 10}, {std::nullopt, {40, 40}}), sf::Vector2u(3, 2));
}
