// The window as a window manager sees it, and closing it as a close button does: a WM_DELETE_WINDOW
// message ends the game with status 0 whatever it is doing.
#include "support/GameRun.hpp"

#include <gtest/gtest.h>

namespace
{
constexpr auto closeTimeout = 20s;
constexpr auto iconTimeout = 10s;
// Three lives, each lost after the fall to the first obstacle, plus three 3.5 s death sequences.
constexpr auto gameOverTimeout = 240s;

void expectEndsWithStatus0WhenClosed(GameRun& run)
{
    run.requestClose();
    const std::optional<ExitStatus> status = run.waitForExit(closeTimeout);
    ASSERT_TRUE(status.has_value()) << "the game did not end when its window was closed";
    EXPECT_EQ(*status, ExitStatus::withCode(0));
    EXPECT_EQ(run.output(), "");
}

class Closing : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(run.waitForWindow()) << "no window; " << run.describe(); }

    const AssetCopy assets;
    GameRun run{assets};
};
} // namespace

TEST(Window, IsAFixed1200By800WindowTitledFlitmereAndTheGameSaysNothingAndIgnoresArguments)
{
    const AssetCopy assets;
    GameRun::Options options;
    options.arguments = {"--help", "-w", "640", "480", "extra"};
    GameRun run(assets, options);

    const std::optional<WindowId> window = run.waitForWindow();
    ASSERT_TRUE(window.has_value()) << "no window; " << run.describe();
    XClient& x = run.xClient();
    EXPECT_EQ(x.title(*window), "Flitmere!");
    EXPECT_EQ(x.size(*window), std::make_pair(1200, 800));
    // A window manager offers no resizing when the smallest and the largest size are the same.
    const SizeHints hints = x.sizeHints(*window);
    EXPECT_TRUE(hints.hasMinimum && hints.hasMaximum) << "the window does not state its size limits";
    EXPECT_EQ(std::make_pair(hints.minWidth, hints.minHeight), std::make_pair(1200, 800));
    EXPECT_EQ(std::make_pair(hints.maxWidth, hints.maxHeight), std::make_pair(1200, 800));
    EXPECT_EQ(x.shownWindows().size(), 1u) << "the game shows more than one window";

    EXPECT_FALSE(run.looksFrozen()) << "the game does not play";
    EXPECT_EQ(run.output(), "");
    expectEndsWithStatus0WhenClosed(run);
}

// From a text console, over SSH, or where DISPLAY names a server that is gone: one line, no crash.
TEST(Window, WithoutADisplayTheGameSaysSoInOneLineAndEndsWithStatus1)
{
    // A display number no server of this machine answers on.
    int absent = 97;
    while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(absent)))
        ++absent;
    const std::string named = ":" + std::to_string(absent);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"-u", "DISPLAY"}, "Error: unable to open a window: no display (DISPLAY is not set)\n"},
        {{"DISPLAY="}, "Error: unable to open a window: no display (DISPLAY is not set)\n"},
        {{"DISPLAY=" + named}, "Error: unable to open the display \"" + named + "\" named by DISPLAY\n"},
    };
    for (const auto& [environment, message] : cases)
    {
        const AssetCopy assets;
        GameRun::Options options;
        options.program = "/usr/bin/env";
        options.arguments = environment;
        options.arguments.push_back(gameProgram().string());
        GameRun run(assets, options);
        const std::optional<ExitStatus> status = run.waitForExit(closeTimeout);
        ASSERT_TRUE(status.has_value()) << "the game still runs";
        EXPECT_EQ(*status, ExitStatus::withCode(1)) << message;
        EXPECT_EQ(run.output(), message);
        EXPECT_EQ(run.errors(), "");
    }
}

// A server that ends with its last client, as a session's started by xinit does: the game holds the
// connection of its display check until its window has one, or the server would end in between.
TEST(Window, OpensOnAServerThatEndsWithItsLastClient)
{
    const AssetCopy assets;
    PrivateDisplay::Options options;
    options.endsWithItsLastClient = true;
    const PrivateDisplay display(options);
    Launch launch;
    launch.program = gameProgram();
    launch.workingDirectory = assets.path();
    launch.environment = {{"DISPLAY", display.name()}};
    ChildProcess game(launch);
    // The test connects only once the game has connected twice, its check and its window: a client of
    // the test's would keep the server up.
    const auto deadline = std::chrono::steady_clock::now() + closeTimeout;
    while (display.connectionsOf(game.pid()) < 2 && game.running() && std::chrono::steady_clock::now() < deadline)
        letRun(10ms);
    ASSERT_GE(display.connectionsOf(game.pid()), 2) << "the server ended before the game's window connected";
    XClient x(display.name());
    std::vector<WindowId> shown;
    while ((shown = x.shownWindows()).empty() && game.running() && std::chrono::steady_clock::now() < deadline)
        letRun(50ms);
    ASSERT_EQ(shown.size(), 1u) << "no window";
    x.requestClose(shown.front());
    EXPECT_EQ(game.waitForExit(closeTimeout), ExitStatus::withCode(0));
}

TEST(Window, ShowsTheBirdAsItsIcon)
{
    const AssetCopy assets;
    GameRun run(assets);
    const std::optional<WindowId> window = run.waitForWindow();
    ASSERT_TRUE(window.has_value()) << "no window; " << run.describe();
    // The window is shown before the game gives it its icon: the bird's picture, 34 x 24, the size
    // of no other picture the game loads.
    std::optional<std::pair<int, int>> icon;
    for (auto waited = 0ms; !icon && waited < iconTimeout; waited += 100ms)
    {
        icon = run.xClient().iconSize(*window);
        if (!icon)
            letRun(100ms);
    }
    ASSERT_TRUE(icon.has_value()) << "the window offers no icon";
    EXPECT_EQ(*icon, std::make_pair(34, 24));
    EXPECT_EQ(run.output(), "");
}

TEST_F(Closing, WhileTheGameRunsEndsItWithStatus0)
{
    ASSERT_FALSE(run.looksFrozen()) << "the game does not play";
    expectEndsWithStatus0WhenClosed(run);
}

TEST_F(Closing, WhileTheGameIsPausedEndsItWithStatus0)
{
    run.pressKey("p");
    ASSERT_TRUE(run.waitUntilFrozen()) << "P did not pause the game";
    expectEndsWithStatus0WhenClosed(run);
}

TEST_F(Closing, DuringTheDeathSequenceEndsItWithStatus0)
{
    // Without input the bird sinks and hits the first obstacle; the HUD then shows a life fewer
    // while the 3.5 s death sequence holds the world still.
    ASSERT_TRUE(run.waitForHud(0, 2, gameOverTimeout, 50ms)) << "no life was lost";
    EXPECT_TRUE(run.looksFrozen(200ms)) << "the world still moves after the hit";
    expectEndsWithStatus0WhenClosed(run);
}

TEST_F(Closing, OnTheGameOverScreenEndsItWithStatus0)
{
    ASSERT_TRUE(
        run.waitForPicture([&](const Picture& picture) { return run.showsGameOver(picture); }, gameOverTimeout, 250ms))
        << "the game-over picture never appeared";
    expectEndsWithStatus0WhenClosed(run);
}
