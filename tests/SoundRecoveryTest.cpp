#include "SoundRecovery.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace
{
using Step = SoundRecovery::Step;

const sf::Time frame = sf::microseconds(16'667);
const std::string builtIn = "Built-in Audio";

// The game's frames on a fake clock, with a tune whose offset moves while its device plays: the null
// device always, a server's device until the server dies. An asking is answered on the next frame, as
// a query on a thread of its own is. The steps taken are kept as letters: N to the null device, A an
// asking, D to the device reported.
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
    std::string steps;

    void play(sf::Time length, bool serverUp, bool playing = true)
    {
        deviceAlive = deviceAlive && serverUp;
        for (const sf::Time end = now + length; now < end; now += frame)
        {
            if (std::exchange(asked, false) &&
                take(recovery.answer(now, serverUp ? builtIn : reportedWhileDown)) == Step::MoveToDevice)
            {
                onNullDevice = false;
                deviceAlive = serverUp;
            }
            offset += playing && (onNullDevice || deviceAlive) ? frame : sf::Time::Zero;
            const Step step = take(recovery.frame(now, playing ? std::optional(offset) : std::nullopt));
            asked = asked || step == Step::AskForDevice;
            onNullDevice = onNullDevice || step == Step::MoveToNull;
        }
    }
    Step take(Step step)
    {
        if (step != Step::None)
            steps += "-NAD"[static_cast<int>(step)]; // in the order of the steps
        return step;
    }
};
} // namespace

TEST(SoundRecovery, AHealthySoundIsNeverAskedAboutNorMoved)
{
    Game game;
    game.play(sf::seconds(60), true);
    // Paused for a long while, then playing again: the still offset of a paused tune is no loss.
    game.play(sf::seconds(5), true, false);
    game.play(sf::seconds(5), true);
    EXPECT_EQ(game.steps, "");

    // A device slow to start, then a frame held up for seconds (a suspended machine) with no sound
    // played in between.
    SoundRecovery recovery(builtIn);
    for (sf::Time t; t < sf::seconds(5); t += frame)
        EXPECT_EQ(recovery.frame(t, sf::Time::Zero), Step::None);
    EXPECT_EQ(recovery.frame(sf::seconds(5), frame), Step::None);
    EXPECT_EQ(recovery.frame(sf::seconds(14), frame), Step::None);
}

TEST(SoundRecovery, AnOffsetStillForASecondMovesToTheNullDeviceThenBackOnceTheDeviceIsReported)
{
    // The server is killed 3 s in, and a new one starts 2 s later: the loss is found a second after the
    // sound stopped, not much later, and the server at the first asking after it is up.
    Game game;
    game.play(sf::seconds(3), true);
    game.play(sf::seconds(0.95f), false);
    EXPECT_EQ(game.steps, "");
    game.play(sf::seconds(0.1f), false);
    EXPECT_EQ(game.steps, "NA");
    game.play(sf::seconds(1.1f), false);
    game.play(sf::seconds(0.95f), true);
    EXPECT_EQ(game.steps, "NAAD");
    // Back on a device that plays, it is watched again: a second loss is found as the first was.
    game.play(sf::seconds(3), true);
    game.play(sf::seconds(1.5f), false);
    EXPECT_EQ(game.steps, "NAADNA");

    // Lost while the tune is paused (by the player, or while the bird dies): found a second after the
    // tune plays on.
    Game paused;
    paused.play(sf::seconds(3), true);
    paused.play(sf::seconds(5), false, false);
    paused.play(sf::seconds(0.95f), false);
    EXPECT_EQ(paused.steps, "");
    paused.play(sf::seconds(0.1f), false);
    EXPECT_EQ(paused.steps, "NA");
}

TEST(SoundRecovery, WaitsForTheDeviceLostNeverAnotherOrTheNullDeviceNorAsksWhileAnAskingIsUnanswered)
{
    for (const char* whileDown : {SoundRecovery::nullDevice, "", "HDA Intel"})
    {
        Game game;
        game.reportedWhileDown = whileDown;
        game.play(sf::seconds(2), true);
        game.play(sf::seconds(30), false);
        EXPECT_EQ(game.steps, "N" + std::string(15, 'A')) << whileDown; // an asking every two seconds
    }

    // A late answer holds the next asking back until two seconds after it.
    SoundRecovery recovery(SoundRecovery::nullDevice);
    EXPECT_EQ(recovery.frame(sf::Time::Zero, sf::Time::Zero), Step::AskForDevice);
    EXPECT_EQ(recovery.frame(sf::seconds(9), sf::seconds(9)), Step::None);
    EXPECT_EQ(recovery.answer(sf::seconds(10), std::nullopt), Step::None);
    EXPECT_EQ(recovery.frame(sf::seconds(11), sf::seconds(11)), Step::None);
    EXPECT_EQ(recovery.frame(sf::seconds(12), sf::seconds(12)), Step::AskForDevice);
}

TEST(SoundRecovery, AGameStartedWithoutAServerTakesTheFirstNamedDeviceAndNothingMoreAfterAFailedMove)
{
    // A device without a name is none the game can tell.
    for (const char* whileDown : {SoundRecovery::nullDevice, ""})
    {
        Game game;
        game.recovery = SoundRecovery(SoundRecovery::nullDevice);
        game.onNullDevice = true;
        game.reportedWhileDown = whileDown;
        game.play(sf::seconds(5), false);
        game.play(sf::seconds(3), true);
        EXPECT_EQ(game.steps, "AAAAD") << whileDown;
    }

    // A failed move leaves the library unsafe to move again: nothing is asked for after it.
    SoundRecovery recovery(SoundRecovery::nullDevice);
    ASSERT_EQ(recovery.frame(sf::Time::Zero, sf::Time::Zero), Step::AskForDevice);
    ASSERT_EQ(recovery.answer(frame, builtIn), Step::MoveToDevice);
    recovery.moveFailed();
    for (sf::Time t = frame + frame; t < sf::seconds(5); t += frame)
        EXPECT_EQ(recovery.frame(t, std::min(t, sf::milliseconds(100))), Step::None);
}
