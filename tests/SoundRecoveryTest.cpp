#include "SoundRecovery.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace
{
using Step = SoundRecovery::Step;

const sf::Time frame = sf::microseconds(16'667);

// The game's frames on a fake clock, with a tune whose offset moves while its device plays: the null
// device always, a server's device until the server dies. Askings are answered on the frame after
// they were made, as a query on a thread of its own is; the steps taken are kept with their times.
struct Game
{
    SoundRecovery recovery{SoundRecovery::Output::Device};
    sf::Time now;
    sf::Time offset;
    bool deviceAlive = true;
    bool asked = false;
    std::vector<std::pair<sf::Time, Step>> steps;

    void play(sf::Time length, bool serverUp, bool playing = true)
    {
        deviceAlive = deviceAlive && serverUp;
        for (const sf::Time end = now + length; now < end; now += frame)
        {
            if (asked)
            {
                asked = false;
                const std::string reported = serverUp ? "Built-in Audio" : SoundRecovery::nullDevice;
                if (record(recovery.answer(now, reported)) == Step::MoveToDevice)
                    deviceAlive = serverUp;
            }
            if (playing && (!recovery.onDevice() || deviceAlive))
                offset += frame;
            const Step step = record(recovery.frame(now, playing ? std::optional(offset) : std::nullopt));
            asked = asked || step == Step::AskForDevice;
        }
    }
    Step record(Step step)
    {
        if (step != Step::None)
            steps.emplace_back(now, step);
        return step;
    }
    [[nodiscard]] std::vector<Step> taken() const
    {
        std::vector<Step> only;
        for (const auto& [at, step] : steps)
            only.push_back(step);
        return only;
    }
};
} // namespace

TEST(SoundRecovery, AHealthySoundIsNeverAskedAboutNorMoved)
{
    Game run;
    run.play(sf::seconds(60), true);
    // Paused for a long while, then playing again: the still offset of a paused tune is no loss.
    run.play(sf::seconds(5), true, false);
    run.play(sf::seconds(5), true);
    EXPECT_TRUE(run.steps.empty());
}

TEST(SoundRecovery, AnOffsetStillForASecondMovesToTheNullDeviceThenBackOnceADeviceIsReported)
{
    // The server is killed 3 s in, and a new one starts 2 s later.
    Game run;
    run.play(sf::seconds(3), true);
    run.play(sf::seconds(2), false);
    run.play(sf::seconds(8), true);
    const std::vector<Step> expected{Step::MoveToNull, Step::AskForDevice, Step::AskForDevice, Step::MoveToDevice};
    ASSERT_EQ(run.taken(), expected);
    // Still for a second, not much more; the first asking at once, the next two seconds after its answer.
    EXPECT_NEAR(run.steps[0].first.asSeconds(), 4.0, 0.04);
    EXPECT_EQ(run.steps[1].first, run.steps[0].first + frame);
    EXPECT_NEAR((run.steps[2].first - run.steps[1].first).asSeconds(), 2.0 + frame.asSeconds(), 0.02);
    // Back on a device that plays, it is watched again: a second loss is found as the first was.
    run.play(sf::seconds(3), true);
    run.play(sf::seconds(2), false);
    EXPECT_EQ(run.taken().size(), expected.size() + 2);
    EXPECT_EQ(run.steps[expected.size()].second, Step::MoveToNull);
}

TEST(SoundRecovery, NeverMovesToTheNullDeviceItIsOnNorAsksWhileAnAskingIsUnanswered)
{
    Game run;
    run.play(sf::seconds(2), true);
    run.play(sf::seconds(30), false);
    for (const Step step : run.taken())
        EXPECT_NE(step, Step::MoveToDevice);
    EXPECT_EQ(run.taken().size(), 1u + 15u); // the loss, then one asking every two seconds

    // A late answer holds the next asking back until two seconds after it; no device is no device.
    SoundRecovery recovery(SoundRecovery::Output::NullDevice);
    EXPECT_EQ(recovery.frame(sf::seconds(0), sf::seconds(0)), Step::AskForDevice);
    for (sf::Time t = frame; t < sf::seconds(10); t += frame)
        EXPECT_EQ(recovery.frame(t, t), Step::None);
    EXPECT_EQ(recovery.answer(sf::seconds(10), std::nullopt), Step::None);
    EXPECT_EQ(recovery.frame(sf::seconds(11), sf::seconds(11)), Step::None);
    EXPECT_EQ(recovery.frame(sf::seconds(12), sf::seconds(12)), Step::AskForDevice);
}

TEST(SoundRecovery, AGameStartedWithoutAServerLooksForOne)
{
    Game run;
    run.recovery = SoundRecovery(SoundRecovery::Output::NullDevice);
    run.deviceAlive = false;
    run.play(sf::seconds(5), false);
    run.play(sf::seconds(3), true);
    ASSERT_EQ(run.taken().back(), Step::MoveToDevice);
    EXPECT_NEAR(run.steps.back().first.asSeconds(), 6.07, 0.02);
}

TEST(SoundRecovery, AFrameHeldUpForSecondsIsNoLoss)
{
    // The machine was suspended: the sound did not move between two frames far apart.
    SoundRecovery recovery(SoundRecovery::Output::Device);
    EXPECT_EQ(recovery.frame(sf::seconds(1), sf::seconds(1)), Step::None);
    EXPECT_EQ(recovery.frame(sf::seconds(9), sf::seconds(1)), Step::None);
    EXPECT_EQ(recovery.frame(sf::seconds(9) + frame, sf::seconds(9)), Step::None);
}

TEST(SoundRecovery, AfterAFailedMoveOrWithoutAKnownDeviceNothingIsAskedOrMoved)
{
    const auto nothingFor10s = [](SoundRecovery& recovery, sf::Time from)
    {
        for (sf::Time t = from; t < from + sf::seconds(10); t += frame)
            if (recovery.frame(t, sf::Time::Zero) != Step::None)
                return false;
        return true;
    };
    SoundRecovery toNull(SoundRecovery::Output::Device);
    sf::Time t;
    while (toNull.frame(t, sf::Time::Zero) != Step::MoveToNull)
        t += frame;
    toNull.moveFailed();
    EXPECT_TRUE(nothingFor10s(toNull, t + frame));

    SoundRecovery toDevice(SoundRecovery::Output::NullDevice);
    ASSERT_EQ(toDevice.frame(sf::Time::Zero, sf::Time::Zero), Step::AskForDevice);
    ASSERT_EQ(toDevice.answer(frame, "Built-in Audio"), Step::MoveToDevice);
    toDevice.moveFailed();
    EXPECT_TRUE(nothingFor10s(toDevice, frame));

    SoundRecovery unknown(SoundRecovery::Output::Unknown);
    EXPECT_TRUE(nothingFor10s(unknown, sf::Time::Zero));
}
