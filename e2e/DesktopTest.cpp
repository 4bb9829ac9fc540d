// The game on a desktop with a window manager (openbox): a game the player cannot see stands still
// until the player comes back and presses P, and the window, frame included, lies wholly on the
// screen, the world drawn scaled where 1200x800 would not fit.
#include "support/GameRun.hpp"

#include <gtest/gtest.h>

namespace
{
// Long enough for a bird left to itself to fall onto an obstacle (about 5 s) and lose a life.
constexpr auto minimisedFor = 10s;
constexpr auto framesCountedFor = 2s;
// Frames shown in `framesCountedFor` while the game waits for the player: a few a second, not 60.
constexpr long fewFrames = 30;
// How far the scaled HUD may lie from where the world's scale puts it.
constexpr int hudTolerance = 4;
constexpr int hudLeft = 1000;

GameRun::Options onDesktop(int width, int height, int panelHeight = 0,
                           std::chrono::milliseconds frameAnswerDelay = std::chrono::milliseconds::zero())
{
    GameRun::Options options;
    options.display = {width, height, true, panelHeight, frameAnswerDelay};
    options.windowTitle = "Flitmere!"; // not the panel's
    return options;
}

class Unseen : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(run.waitForWindow()) << "no window; " << run.describe();
        ASSERT_TRUE(run.waitForHud(0, 3, 20s)) << "the HUD does not show a score of 0 and 3 lives";
        // A player at play: the window has the focus, whether or not the window manager gave it yet.
        run.xClient().focus(run.window());
    }

    // Back with the focus, the game stands as it was left, with every life, until P resumes it.
    void expectWaitedForThePlayer()
    {
        EXPECT_TRUE(run.waitForHud(0, 3, 5s)) << "the game went on without the player";
        EXPECT_TRUE(run.looksFrozen(1s)) << "the game goes on by itself";
        run.pressKey("p");
        EXPECT_FALSE(run.looksFrozen()) << "P did not resume the game";
        EXPECT_EQ(run.output(), "");
    }

    const AssetCopy assets;
    GameRun run{assets, onDesktop(1600, 1200)};
};

// The leftmost column holding the HUD's red, in the window's top strip.
std::optional<int> redTextLeft(const Picture& picture)
{
    for (int x = 0; x < picture.width(); ++x)
        for (int y = 0; y < picture.height() / 10; ++y)
            if (const Rgb colour = picture.at(x, y); colour.r > 200 && colour.g < 60 && colour.b < 60)
                return x;
    return std::nullopt;
}
} // namespace

TEST_F(Unseen, AMinimisedGameStandsStill)
{
    run.minimize();
    letRun(minimisedFor);
    run.restore();
    expectWaitedForThePlayer();
}

TEST_F(Unseen, AnotherWindowGivenTheFocusPausesTheGameWhichThenDrawsOnlyAFewFramesASecond)
{
    run.xClient().openWindow();
    ASSERT_TRUE(run.waitUntilFrozen()) << "the game plays on behind another window";
    const long before = run.framesShown();
    letRun(framesCountedFor);
    EXPECT_LT(run.framesShown() - before, fewFrames) << "waiting for the player, the game draws as often as in play";
    expectWaitedForThePlayer();
}

TEST(Screen, TheWindowWithItsFrameLiesWhollyInTheWorkAreaAndShowsTheWholeWorld)
{
    const struct
    {
        int width;
        int height;
        int panelHeight;
        std::chrono::milliseconds frameAnswerDelay;
    } screens[] = {{1280, 720, 0, 0ms},
                   {1920, 1200, 0, 0ms},
                   // 800 px of height left on the last desktop, by a window manager slow to tell its frame.
                   {1280, 900, 100, 50ms}};
    for (const auto& [screenWidth, screenHeight, panelHeight, frameAnswerDelay] : screens)
    {
        SCOPED_TRACE(std::to_string(screenWidth) + "x" + std::to_string(screenHeight) + " less a panel of " +
                     std::to_string(panelHeight));
        const AssetCopy assets;
        GameRun run(assets, onDesktop(screenWidth, screenHeight, panelHeight, frameAnswerDelay));
        ASSERT_TRUE(run.waitForWindow()) << "no window; " << run.describe();
        const Box outline = run.xClient().outline(run.window());
        const int workHeight = screenHeight - panelHeight;
        EXPECT_TRUE(outline.left >= 0 && outline.top >= 0 && outline.right <= screenWidth &&
                    outline.bottom <= workHeight)
            << "the window lies from (" << outline.left << ", " << outline.top << ") to (" << outline.right << ", "
            << outline.bottom << ")";

        const auto [width, height] = run.xClient().size(run.window());
        if (workHeight >= 900)
        {
            EXPECT_EQ(std::make_pair(width, height), std::make_pair(1200, 800));
            continue;
        }
        EXPECT_EQ(width * 2, height * 3) << width << "x" << height << " is not the world's shape";
        EXPECT_GT(width, 1000) << "the window is smaller than the screen needs";
        // The HUD's corner sits where the world's scale puts it: the one view that scales it brings the
        // ground at the world's bottom edge into the window too.
        std::optional<int> hud;
        ASSERT_TRUE(
            run.waitForPicture([&](const Picture& shown) { return (hud = redTextLeft(shown)).has_value(); }, 20s))
            << "no HUD in the window's top strip";
        EXPECT_NEAR(*hud, hudLeft * width / 1200, hudTolerance);
    }
}
