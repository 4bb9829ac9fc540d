#include "Bird.hpp"

#include <gtest/gtest.h>

#include <array>

namespace
{
constexpr sf::Time hitAt = sf::seconds(10);

sf::Time sinceHit(std::int64_t microseconds)
{
    return hitAt + sf::microseconds(microseconds);
}

// A bird hit at `hitAt`, its first death step taken.
Bird hitBird()
{
    Bird bird;
    bird.setJustDied(true);
    bird.die(hitAt);
    return bird;
}

struct Row
{
    std::int64_t from;
    float angle;
    sf::Vector2f step;
};
constexpr std::array<Row, 7> rows{{
    {0, -135.f, {-6.f, -2.f}},
    {62'000, -157.5f, {-4.f, 2.f}},
    {125'000, 180.f, {-4.f, 4.f}},
    {187'000, 157.5f, {-2.f, 4.f}},
    {250'000, 135.f, {-2.f, 6.f}},
    {312'000, 112.5f, {-2.f, 6.f}},
    {375'000, 90.f, {0.f, 7.f}},
}};
} // namespace

TEST(DeathSequence, TheFirstStepSquawksTurnsUpsideDownAndKicksBack)
{
    const Bird bird = hitBird();
    EXPECT_TRUE(bird.getIsDead());
    EXPECT_FALSE(bird.getJustDied());
    EXPECT_EQ(bird.getSquawkSound().getStatus(), sf::Sound::Status::Playing);
    EXPECT_EQ(bird.getDeathSound().getStatus(), sf::Sound::Status::Stopped);
    EXPECT_EQ(bird.getBird().getRotation(), sf::degrees(-135).wrapUnsigned());
    EXPECT_EQ(bird.getBird().getPosition(), sf::Vector2f(394.f, 348.f));
}

TEST(DeathSequence, EachRowHoldsFromItsStartToJustBeforeTheNext)
{
    for (std::size_t row = 1; row < rows.size(); ++row)
    {
        SCOPED_TRACE(rows[row].from);
        Bird bird = hitBird();

        sf::Vector2f before = bird.getBird().getPosition();
        bird.die(sinceHit(rows[row].from - 1));
        EXPECT_EQ(bird.getBird().getRotation(), sf::degrees(rows[row - 1].angle).wrapUnsigned());
        EXPECT_EQ(bird.getBird().getPosition(), before + rows[row - 1].step);

        before = bird.getBird().getPosition();
        bird.die(sinceHit(rows[row].from));
        EXPECT_EQ(bird.getBird().getRotation(), sf::degrees(rows[row].angle).wrapUnsigned());
        EXPECT_EQ(bird.getBird().getPosition(), before + rows[row].step);
        EXPECT_TRUE(bird.getIsDead());
    }
}

TEST(DeathSequence, TwoCallsAtTheSameTimeApplyTheStepTwice)
{
    Bird bird = hitBird();
    bird.die(sinceHit(200'000));
    bird.die(sinceHit(200'000));
    EXPECT_EQ(bird.getBird().getPosition(), sf::Vector2f(394.f - 4.f, 348.f + 8.f));
}

TEST(DeathSequence, TheDeathSoundStartsOnTheFirstStepOfTheStraightFall)
{
    Bird bird = hitBird();
    bird.die(sinceHit(312'000));
    EXPECT_EQ(bird.getDeathSound().getStatus(), sf::Sound::Status::Stopped);
    bird.die(sinceHit(375'000));
    EXPECT_EQ(bird.getDeathSound().getStatus(), sf::Sound::Status::Playing);
    EXPECT_EQ(bird.getBird().getRotation(), sf::degrees(90));
}

TEST(DeathSequence, AtSixtyFramesASecondTheDeathSoundWaitsForTheFall)
{
    constexpr std::int64_t frameMicroseconds = 16'667;
    Bird bird = hitBird();
    std::int64_t time = frameMicroseconds;
    for (; time < rows.back().from; time += frameMicroseconds)
    {
        bird.die(sinceHit(time));
        ASSERT_EQ(bird.getDeathSound().getStatus(), sf::Sound::Status::Stopped)
            << "started " << time << " us after the hit";
    }
    bird.die(sinceHit(time));
    EXPECT_EQ(bird.getDeathSound().getStatus(), sf::Sound::Status::Playing);
}

TEST(DeathSequence, AStallThatSkipsTheLastTurnFallsInSilence)
{
    Bird bird = hitBird();
    bird.die(sinceHit(300'000));
    bird.die(sinceHit(380'000));
    bird.die(sinceHit(400'000));
    EXPECT_EQ(bird.getBird().getRotation(), sf::degrees(90));
    EXPECT_EQ(bird.getDeathSound().getStatus(), sf::Sound::Status::Stopped);
}

TEST(DeathSequence, EndsAfterThreeAndAHalfSecondsWithoutMovingAgain)
{
    Bird bird = hitBird();
    bird.die(sinceHit(3'499'999));
    EXPECT_TRUE(bird.getIsDead());
    const sf::Vector2f fallen = bird.getBird().getPosition();

    bird.die(sinceHit(3'500'000));
    EXPECT_FALSE(bird.getIsDead());
    EXPECT_EQ(bird.getBird().getRotation(), sf::Angle::Zero);
    EXPECT_EQ(bird.getBird().getPosition(), fallen);

    bird.die(sinceHit(9'000'000));
    EXPECT_EQ(bird.getBird().getPosition(), fallen);
    EXPECT_FALSE(bird.getIsDead());
}

TEST(DeathSequence, ANewHitStartsTheSequenceOver)
{
    Bird bird = hitBird();
    bird.die(sinceHit(1'000'000));
    const sf::Vector2f before = bird.getBird().getPosition();

    bird.setJustDied(true);
    bird.die(sinceHit(1'500'000));
    EXPECT_EQ(bird.getBird().getRotation(), sf::degrees(-135).wrapUnsigned());
    EXPECT_EQ(bird.getBird().getPosition(), before + sf::Vector2f(-6.f, -2.f));
    // Measured from the new hit, 0.5 s later is no longer the end of the fall.
    bird.die(sinceHit(4'100'000));
    EXPECT_TRUE(bird.getIsDead());
}
