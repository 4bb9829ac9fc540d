#include "Bird.hpp"

#include <gtest/gtest.h>

namespace
{
float heightOf(const Bird& bird)
{
    return bird.getBird().getPosition().y;
}

void repeat(int times, void (Bird::*move)(), Bird& bird)
{
    for (int i = 0; i < times; ++i)
        (bird.*move)();
}
} // namespace

TEST(BirdFlight, StartsAtItsPlaceWithTheWingUp)
{
    const Bird bird;
    EXPECT_EQ(bird.getBird().getPosition(), sf::Vector2f(400.f, 350.f));
    EXPECT_EQ(bird.getBird().getRotation(), sf::Angle::Zero);
    EXPECT_TRUE(bird.getWingIsUp());
    EXPECT_FALSE(bird.getWingIsDown());
    EXPECT_FALSE(bird.getIsDead());
    EXPECT_FALSE(bird.getJustDied());
}

TEST(BirdFlight, SinksTwoPixelsAtATimeAndStopsAtNineHundred)
{
    Bird bird;
    bird.raiseWing();
    EXPECT_EQ(heightOf(bird), 352.f);
    repeat(300, &Bird::raiseWing, bird);
    EXPECT_EQ(heightOf(bird), 900.f);
}

TEST(BirdFlight, RisesThreePixelsAtATimeWhileBelowMinusHundred)
{
    Bird bird;
    repeat(2, &Bird::raiseWing, bird);   // 354
    repeat(151, &Bird::lowerWing, bird); // 354 - 453
    ASSERT_EQ(heightOf(bird), -99.f);
    bird.lowerWing();
    EXPECT_EQ(heightOf(bird), -102.f);
    bird.lowerWing();
    EXPECT_EQ(heightOf(bird), -102.f);

    Bird other;
    repeat(150, &Bird::lowerWing, other);
    ASSERT_EQ(heightOf(other), -100.f);
    other.lowerWing();
    EXPECT_EQ(heightOf(other), -100.f);
}

TEST(BirdFlight, MixedStepsMayStopOnePixelPastTheBottom)
{
    Bird bird;
    bird.lowerWing(); // 347: odd from here on
    repeat(300, &Bird::raiseWing, bird);
    EXPECT_EQ(heightOf(bird), 901.f);
}

TEST(BirdFlight, DivesNoseDownUntilEightHundred)
{
    Bird bird;
    bird.dive();
    EXPECT_EQ(heightOf(bird), 353.f);
    EXPECT_EQ(bird.getBird().getRotation(), sf::degrees(45));
    repeat(200, &Bird::dive, bird);
    EXPECT_EQ(heightOf(bird), 800.f);
    bird.stopDive();
    EXPECT_EQ(bird.getBird().getRotation(), sf::Angle::Zero);
}

TEST(BirdFlight, ADiveAtTheDiveLimitStillRaisesALoweredWing)
{
    Bird bird;
    repeat(225, &Bird::raiseWing, bird);
    ASSERT_EQ(heightOf(bird), 800.f);
    bird.toggleWingPosition();
    ASSERT_TRUE(bird.getWingIsDown());
    bird.dive();
    EXPECT_EQ(heightOf(bird), 800.f);
    EXPECT_EQ(bird.getBird().getRotation(), sf::Angle::Zero);
    EXPECT_TRUE(bird.getWingIsUp());
}

TEST(BirdWings, EachMoveShowsItsPictureAndKeepsTheFirstPicturesRectangle)
{
    Bird bird;
    const sf::Texture* wingUp = &bird.getBird().getTexture();
    const sf::IntRect rectangle = bird.getBird().getTextureRect();
    EXPECT_EQ(rectangle.size, sf::Vector2i(wingUp->getSize()));

    bird.lowerWing();
    const sf::Texture* wingDown = &bird.getBird().getTexture();
    EXPECT_NE(wingDown, wingUp);
    EXPECT_TRUE(bird.getWingIsDown());
    EXPECT_FALSE(bird.getWingIsUp());
    bird.lowerWing();
    EXPECT_EQ(&bird.getBird().getTexture(), wingDown);

    bird.raiseWing();
    EXPECT_EQ(&bird.getBird().getTexture(), wingUp);
    bird.raiseWing();
    EXPECT_EQ(&bird.getBird().getTexture(), wingUp);

    bird.lowerWing();
    bird.dive();
    EXPECT_EQ(&bird.getBird().getTexture(), wingUp);
    EXPECT_EQ(bird.getBird().getTextureRect(), rectangle);
}

TEST(BirdWings, ReinitializeRestoresTheStartState)
{
    Bird bird;
    bird.lowerWing();
    bird.dive();
    bird.setJustDied(true);
    bird.die(sf::Time::Zero);
    ASSERT_TRUE(bird.getIsDead());

    bird.reinitialize();
    EXPECT_EQ(bird.getBird().getPosition(), sf::Vector2f(400.f, 350.f));
    EXPECT_EQ(bird.getBird().getRotation(), sf::Angle::Zero);
    EXPECT_TRUE(bird.getWingIsUp());
    EXPECT_FALSE(bird.getIsDead());
    EXPECT_FALSE(bird.getJustDied());
}
