#include "SoundRecovery.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace
{
using Step = SoundRecovery::Step;

const sf::Time frame = sf::microseconds(16'667);
const std::string builtIn = "Built-in Audio";

// The game's frames on a fake clock, with a tune whose offset moves while its device plays: the null
// device always, a server's device until the server dies. Askings are answered on the frame after
// they were made, as a query on a thread of its own is; the steps taken are kept with their times.
struct Game
{
    SoundRecovery recovery{builtIn};
    // What the asking finds while no server is up: the null device, or another system's default.
    std::string reportedWhileDown = SoundRecovery::nullDevice;
    sf::Time now;
    sf::Time offset;
    bool onNullDevice = false;
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
                const std::string reported = serverUp ? builtIn : reportedWhileDown;
                if (record(recovery.answer(now, reported)) == Step::MoveToDevice)
                {
                    onNullDevice = false;
                    deviceAlive = serverUp;
                }
            }
            if (playing && (onNullDevice || deviceAlive))
                offset += frame;
            const Step step = record(recovery.frame(now, playing ? std::optional(offset) : std::nullopt));
            asked = asked || step == Step::AskForDevice;
            onNullDevice = onNullDevice || step == Step::MoveToNull;
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

TEST(SoundRecovery, WaitsForTheDeviceLostNeverAnotherOrTheNullDeviceNorAsksWhileAnAskingIsUnanswered)
{
    for (const char* whileDown : {SoundRecovery::nullDevice, "", "HDA Intel"})
    {
        SCOPED_TRACE(whileDown);
        Game run;
        run.reportedWhileDown = whileDown;
        run.play(sf::seconds(2), true);
        run.play(sf::seconds(30), false);
        std::vector<Step> expected(16, Step::AskForDevice); // the loss, then an asking every two seconds
        expected[0] = Step::MoveToNull;
        EXPECT_EQ(run.taken(), expected);
    }

    // A late answer holds the next asking back until two seconds after it; no device is no device.
    SoundRecovery recovery(SoundRecovery::nullDevice);
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
    run.recovery = SoundRecovery(SoundRecovery::nullDevice);
    run.onNullDevice = true;
    run.reportedWhileDown = ""; // a device without a name is none the game can tell
    run.play(sf::seconds(5), false);
    run.play(sf::seconds(3), true);
    ASSERT_EQ(run.taken().back(), Step::MoveToDevice);
    EXPECT_NEAR(run.steps.back().first.asSeconds(), 6.07, 0.02);
}

TEST(SoundRecovery, ADeviceSlowToStartOrAFrameHeldUpForSecondsIsNoLoss)
{
    SoundRecovery recovery(builtIn);
    sf::Time t;
    for (; t < sf::seconds(5); t += frame)
        EXPECT_EQ(recovery.frame(t, sf::Time::Zero), Step::None);
    // The machine was suspended: the sound did not move between two frames far apart.
    EXPECT_EQ(recovery.frame(t, sf::milliseconds(10)), Step::None);
    EXPECT_EQ(recovery.frame(t + frame, sf::milliseconds(20)), Step::None);
    EXPECT_EQ(recovery.frame(t + sf::seconds(9), sf::milliseconds(20)), Step::None);
    EXPECT_EQ(recovery.frame(t + sf::seconds(9) + frame, sf::milliseconds(30)), Step::None);
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
    SoundRecovery toNull(builtIn);
    ASSERT_EQ(toNull.frame(sf::Time::Zero, sf::Time::Zero), Step::None);
    sf::Time t = frame;
    while (toNull.frame(t, frame) != Step::MoveToNull && t < sf::seconds(2))
        t += frame;
    EXPECT_LT(t, sf::seconds(2));
    toNull.moveFailed();
    EXPECT_TRUE(nothingFor10s(toNull, t + frame));

    SoundRecovery toDevice(SoundRecovery::nullDevice);
    ASSERT_EQ(toDevice.frame(sf::Time::Zero, sf::Time::Zero), Step::AskForDevice);
    ASSERT_EQ(toDevice.answer(frame, "Built-in Audio"), Step::MoveToDevice);
    toDevice.moveFailed();
    EXPECT_TRUE(nothingFor10s(toDevice, frame));

    SoundRecovery unknown(std::nullopt);
    EXPECT_TRUE(nothingFor10s(unknown, sf::Time::Zero));
}
