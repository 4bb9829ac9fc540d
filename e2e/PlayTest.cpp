// Play as it shows on screen: the HUD, the bird answering a click, the pause key, and a whole game
// lost without input and started again with R.
#include "support/GameRun.hpp"

#include <gtest/gtest.h>

namespace
{
constexpr int birdStartY = 350;
// How far from its start the bird may be when P arrives a frame after R: the opening flap lifts it 3 px
// in each of the up to 4 updates of a frame.
constexpr int startTolerance = 12;
// Longer than a flap (0.3 s): a flap begun before it is over when the game goes on.
constexpr auto longerThanAFlap = 500ms;
// How long the bird may take to be seen where it went, on a machine as loaded as it gets.
constexpr auto seenWithin = 10s;
// Pictures looked at this often while the bird moves: a flap keeps it above its start for over 0.5 s.
constexpr auto lookEvery = 20ms;
// Far enough below where a paused game stood that the bird was seen sinking, not only resumed.
constexpr int sunkBy = 10;
// A flap that ran out while the game was paused ends at the first update after it: its wing goes down
// (3 px up) and up again (2 px down), 1 px above where the pause held the bird.
constexpr int flapsLastRise = 1;
constexpr auto gameOverTimeout = 240s;

class Play : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(run.waitForWindow()) << "no window; " << run.describe();
        ASSERT_TRUE(run.waitForHud(0, 3, 20s)) << "the HUD does not show a score of 0 and 3 lives";
    }

    // Lets the game run until the bird is seen where `seen` says, whatever the frames cost, then pauses
    // it and says where the bird then is; nothing where it was never seen there.
    std::optional<int> birdYOnceSeen(const std::function<bool(int)>& seen)
    {
        const bool wasSeen = run.waitForPicture(
            [&](const Picture& picture)
            {
                const std::optional<int> y = run.birdY(picture);
                return y && seen(*y);
            },
            seenWithin, lookEvery);
        run.pressKey("p");
        EXPECT_TRUE(run.waitUntilFrozen()) << "P did not pause the game";
        return wasSeen ? run.birdY(run.capture()) : std::nullopt;
    }

    const AssetCopy assets;
    GameRun run{assets};
};
} // namespace

TEST_F(Play, TheHudIsRedTextInTheTopRightCorner)
{
    const Picture picture = run.capture();
    const std::optional<Box> text = redTextBounds(picture);
    ASSERT_TRUE(text.has_value()) << "no red text in the top-right corner";
    EXPECT_GE(text->left, 1000);
    EXPECT_GE(text->top, 2);
    EXPECT_LE(text->bottom, 50);
    // The reading tells the lives apart: the same picture does not read as any other count.
    EXPECT_TRUE(run.hudShows(picture, 0, 3));
    for (const int lives : {0, 1, 2})
        EXPECT_FALSE(run.hudShows(picture, 0, lives)) << lives << " lives";
    EXPECT_FALSE(run.hudShows(picture, 1, 3));
}

TEST_F(Play, ALeftClickRaisesTheBirdAndPFreezesThePictureUntilPressedAgain)
{
    // R and P at once: a new game, held before its bird has moved far from the start.
    run.pressKeys({"r", "p"});
    ASSERT_TRUE(run.waitUntilFrozen()) << "P did not pause the game";
    const std::optional<int> start = run.birdY(run.capture());
    ASSERT_TRUE(start.has_value()) << "no bird after R";
    EXPECT_NEAR(*start, birdStartY, startTolerance);
    EXPECT_TRUE(run.looksFrozen(1s)) << "the paused picture changes";

    // P again: the game goes on, and without a click the bird sinks.
    letRun(longerThanAFlap);
    run.pressKey("p");
    const std::optional<int> sunk = birdYOnceSeen([&](int y) { return y > *start + sunkBy; });
    ASSERT_TRUE(sunk.has_value()) << "the bird was not seen sinking without a click";

    // With a click it rises above where it stood.
    letRun(longerThanAFlap);
    run.resumeAndClick();
    const std::optional<int> raised = birdYOnceSeen([&](int y) { return y < *sunk; });
    ASSERT_TRUE(raised.has_value()) << "the bird was not seen rising after a click";

    // A click while paused is no flap: after P the bird sinks on, never seen above where it stood.
    letRun(longerThanAFlap);
    run.click();
    run.pressKey("p");
    bool rose = false;
    EXPECT_TRUE(birdYOnceSeen(
        [&](int y)
        {
            rose = rose || y < *raised - flapsLastRise;
            return y > *raised + sunkBy;
        }))
        << "the bird was not seen sinking after P";
    EXPECT_FALSE(rose) << "a click while paused made the bird flap";
    // The tune stood still for over a second while paused, and its device played on.
    EXPECT_EQ(run.errors().find("the sound device stopped"), std::string::npos) << run.errors();
}

TEST_F(Play, WithoutInputTheBirdDiesThreeTimesThenTheGameIsOverAndRStartsAFreshGame)
{
    // The lives the HUD showed, in order, each counted once; the score must stay 0 throughout.
    std::vector<int> livesShown{3};
    int unreadable = 0;
    int birdReturns = 0;
    bool birdShown = true;
    Picture last;
    const bool over = run.waitForPicture(
        [&](const Picture& picture)
        {
            last = picture;
            if (run.showsGameOver(picture))
                return true;
            std::optional<int> lives;
            for (const int count : {3, 2, 1, 0})
                if (!lives && run.hudShows(picture, 0, count))
                    lives = count;
            unreadable += lives ? 0 : 1;
            if (lives && *lives != livesShown.back())
                livesShown.push_back(*lives);
            // Without input the bird only comes back into view when it is revived.
            const bool shown = run.birdY(picture).has_value();
            birdReturns += shown && !birdShown ? 1 : 0;
            birdShown = shown;
            return false;
        },
        gameOverTimeout);
    ASSERT_TRUE(over) << "no game-over picture after " << gameOverTimeout.count() << " s";

    EXPECT_EQ(livesShown, (std::vector<int>{3, 2, 1, 0}));
    EXPECT_EQ(unreadable, 0) << "the HUD showed other than a score of 0 and 0 to 3 lives";
    EXPECT_EQ(birdReturns, 2) << "the bird should have been revived twice";
    EXPECT_TRUE(run.hudShows(last, 0, 0)) << "the game-over screen does not show the score and no lives left";
    EXPECT_TRUE(run.looksFrozen()) << "the game-over screen changes";

    run.pressKey("r");
    EXPECT_TRUE(run.waitForPicture(
        [&](const Picture& picture)
        { return !run.showsGameOver(picture) && run.hudShows(picture, 0, 3) && run.birdY(picture).has_value(); },
        20s))
        << "R did not bring back a game with score 0, 3 lives and the bird";
    EXPECT_EQ(run.output(), "");
}
