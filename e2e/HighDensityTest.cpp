// The game on desktops of several densities, under a window manager (openbox): the window opens at the
// world's size times the desktop's scale where the screen has room for it, the HUD is read at that
// scale in its place, and the bird, P and R answer as at 100%.
#include "support/GameRun.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
// The HUD's pure red at 100%, measured: from x = 1000 and 25 px high.
constexpr int hudLeft = 1000;
constexpr int hudHeight = 22;
// Hinted at another size, a glyph may land a pixel or two aside.
constexpr int hudTolerance = 3;
// A window of four times the pixels may show only a few frames a second on a loaded machine, each
// running at most 4 updates: the world then runs slower than 60 updates a second.
constexpr auto lifeLostTimeout = 60s;
constexpr int mostPoints = 2;
// Longer than a flap (0.3 s): a flap begun before it is over when the game goes on.
constexpr auto longerThanAFlap = 500ms;
constexpr auto shortPlay = 200ms;

struct Density
{
    int screenWidth;
    int screenHeight;
    int dotsPerInch;
    // The window's client area; 0 where only the screen's room decides it.
    int windowWidth;
    int windowHeight;
};

std::string name(const testing::TestParamInfo<Density>& info)
{
    return std::to_string(info.param.screenWidth) + "x" + std::to_string(info.param.screenHeight) + "at" +
           std::to_string(info.param.dotsPerInch) + "dpi";
}

class HighDensity : public testing::TestWithParam<Density>
{
protected:
    static GameRun::Options onDesktop(const Density& density)
    {
        GameRun::Options options;
        options.display.width = density.screenWidth;
        options.display.height = density.screenHeight;
        options.display.windowManager = true;
        options.resources = "Xft.dpi:\t" + std::to_string(density.dotsPerInch) + "\n";
        return options;
    }

    // Lets the game run for `time`, pauses it and says where the bird then is.
    std::optional<int> birdYAfterPlaying(std::chrono::milliseconds time)
    {
        letRun(time);
        run.pressKey("p");
        EXPECT_TRUE(run.waitUntilFrozen()) << "P did not pause the game";
        return run.birdY(run.capture());
    }

    const AssetCopy assets;
    GameRun run{assets, onDesktop(GetParam())};
};
} // namespace

TEST_P(HighDensity, TheWindowIsTheWorldAtTheDesktopsScaleWhereItFitsAndPlaysAsAt100Percent)
{
    const Density density = GetParam();
    ASSERT_TRUE(run.waitForWindow()) << "no window; " << run.describe();
    const auto [width, height] = run.xClient().size(run.window());
    if (density.windowWidth != 0)
    {
        EXPECT_EQ(std::make_pair(width, height), std::make_pair(density.windowWidth, density.windowHeight));
    }
    const Box outline = run.xClient().outline(run.window());
    EXPECT_TRUE(outline.left >= 0 && outline.top >= 0 && outline.right <= density.screenWidth &&
                outline.bottom <= density.screenHeight)
        << "the window lies from (" << outline.left << ", " << outline.top << ") to (" << outline.right << ", "
        << outline.bottom << ")";
    EXPECT_EQ(width * 2, height * 3) << width << "x" << height << " is not the world's shape";

    // The HUD's glyphs, set at the size shown, read in their place; its red where the scale puts it.
    ASSERT_TRUE(run.waitForHud(0, 3, 20s)) << "the HUD does not read a score of 0 and 3 lives at this scale";
    // A player at play: the window has the focus, whether or not the window manager gave it yet.
    run.xClient().focus(run.window());
    const double scale = width / 1200.0;
    const std::optional<Box> red = redTextBounds(run.capture());
    ASSERT_TRUE(red.has_value()) << "no red text in the top-right corner";
    EXPECT_NEAR(red->left, hudLeft * scale, hudTolerance);
    EXPECT_NEAR(red->bottom - red->top, hudHeight * scale, hudTolerance);

    // P stops the game and starts it again.
    run.pressKey("p");
    EXPECT_TRUE(run.waitUntilFrozen()) << "P did not pause the game";
    run.pressKey("p");
    EXPECT_FALSE(run.looksFrozen()) << "P did not resume the game";

    // A click lifts the bird, where the window shows its pixels as whole squares to find it by.
    if (std::round(scale) == scale)
    {
        run.pressKeys({"r", "p"});
        ASSERT_TRUE(run.waitUntilFrozen());
        run.pressKey("p");
        const std::optional<int> sunk = birdYAfterPlaying(longerThanAFlap);
        ASSERT_TRUE(sunk.has_value()) << "no bird at x = 400";
        run.resumeAndClick();
        const std::optional<int> raised = birdYAfterPlaying(shortPlay);
        ASSERT_TRUE(raised.has_value()) << "no bird at x = 400";
        EXPECT_LT(*raised, *sunk) << "the bird did not rise after a click";
        run.pressKey("p");
    }

    // Left alone the bird loses a life, having passed an obstacle or two at most; R starts a fresh game
    // with every life.
    const auto lifeLost = [&](const Picture& shown)
    {
        for (int score = 0; score <= mostPoints; ++score)
            if (run.hudShows(shown, score, 2))
                return true;
        return false;
    };
    ASSERT_TRUE(run.waitForPicture(lifeLost, lifeLostTimeout)) << "no life lost without input";
    run.pressKey("r");
    EXPECT_TRUE(run.waitForHud(0, 3, 5s)) << "R did not start a fresh game";
    EXPECT_EQ(run.output(), "");
}

INSTANTIATE_TEST_SUITE_P(Desktops, HighDensity,
                         testing::Values(Density{3840, 2160, 192, 2400, 1600}, Density{2560, 1600, 144, 1800, 1200},
                                         Density{1920, 1200, 96, 1200, 800}, Density{1366, 768, 144, 0, 0}),
                         name);
