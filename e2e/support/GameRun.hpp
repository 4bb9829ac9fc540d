#pragma once

#include "support/AssetCopy.hpp"
#include "support/ChildProcess.hpp"
#include "support/HudText.hpp"
#include "support/Picture.hpp"
#include "support/PresentedFrames.hpp"
#include "support/PrivateDisplay.hpp"
#include "support/XClient.hpp"

#include <SFML/Graphics/Image.hpp>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace std::chrono_literals;

// The built game program.
[[nodiscard]] std::filesystem::path gameProgram();

// One run of the real game as a player starts it: its own X server, the asset folder as its working
// directory, standard output and standard error caught in files, sound sent to a silent device. Input
// is real X input (xdotool), windows are looked at through the X server. Everything started here is
// stopped when the object goes.
class GameRun
{
public:
    struct Options
    {
        std::vector<std::string> arguments;
        std::filesystem::path program = gameProgram();
        std::vector<std::pair<std::string, std::string>> environment;
        // Where the program starts: the asset copy's folder, unless the program finds its own.
        std::filesystem::path workingDirectory;
        PrivateDisplay::Options display;
        // The window looked for, by its title, where the program shows others beside it (as Wine
        // does); empty: the first window shown.
        std::string windowTitle;
        // The desktop's X resources (see PrivateDisplay::setResources); none if empty.
        std::string resources;
    };

    explicit GameRun(const AssetCopy& assets);
    GameRun(const AssetCopy& assets, Options options);
    // A program that goes to its assets by itself, such as the installed launcher.
    explicit GameRun(Options options);
    ~GameRun();
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    [[nodiscard]] pid_t pid() const { return game->pid(); }
    [[nodiscard]] bool running() { return game->running(); }
    [[nodiscard]] std::optional<ExitStatus> waitForExit(std::chrono::milliseconds timeout);
    // Standard output and standard error so far.
    [[nodiscard]] std::string output() const;
    [[nodiscard]] std::string errors() const;
    // For failure messages: whether the game still runs or how it ended, and what it printed.
    [[nodiscard]] std::string describe();

    // The game's window once it is shown and the game has drawn a frame into it; nothing if the game
    // ends first or no window is shown in time.
    std::optional<WindowId> waitForWindow(std::chrono::milliseconds timeout = 60s);
    [[nodiscard]] WindowId window() const { return *gameWindow; }
    [[nodiscard]] bool windowEverShown() { return x.anyWindowShown(); }
    [[nodiscard]] XClient& xClient() { return x; }
    // Frames the game has shown in its window since it was found.
    [[nodiscard]] long framesShown() { return presented->count(); }
    // When each of them was shown, in the X server's milliseconds, as of the last count.
    [[nodiscard]] const std::vector<std::uint32_t>& frameTimes() const { return presented->times(); }

    // What the window shows now; throws if it cannot be read.
    [[nodiscard]] Picture capture();
    // Two pictures at least `apart` apart and a few frames shown apart: whether they are the same
    // (nothing moved, the game is frozen).
    [[nodiscard]] bool looksFrozen(std::chrono::milliseconds apart = 400ms);
    // Polls the window's picture until the condition holds; false if it does not within `timeout`.
    bool waitForPicture(const std::function<bool(const Picture&)>& condition, std::chrono::milliseconds timeout,
                        std::chrono::milliseconds interval = 100ms);
    // Polls the window's picture until the HUD reads the score and lives; false if it does not in time.
    bool waitForHud(int score, int lives, std::chrono::milliseconds timeout,
                    std::chrono::milliseconds interval = 100ms);
    // Waits until the picture stands still (paused, dying or game over); false if it never does.
    bool waitUntilFrozen(std::chrono::milliseconds timeout = 20s);

    // Input as a player gives it, into the game's window.
    void click();
    void pressKey(const std::string& key);
    void pressKeys(const std::vector<std::string>& keys);
    void holdRightButton();
    void releaseRightButton();
    // Unpause (P) and click at once: both reach the game in the same batch of events.
    void resumeAndClick();
    void requestClose() { x.requestClose(window()); }
    // What a window manager's buttons do (the display needs one): to the task bar, and back with the focus.
    void minimize();
    void restore();

    // Where the bird is, found by the pictures it is drawn from (see findBird).
    [[nodiscard]] std::optional<int> birdY(const Picture& picture) const
    {
        return findBird(picture, wingUpPicture, wingDownPicture);
    }
    // Whether the HUD in the picture reads "Score: <score>" and "Lives: <lives>".
    [[nodiscard]] bool hudShows(const Picture& picture, int score, int lives)
    {
        return hud.shows(picture, score, lives);
    }
    // Whether the picture is the game-over screen: the game-over picture, with the HUD over it.
    [[nodiscard]] bool showsGameOver(const Picture& picture) const;

private:
    void xdotool(const std::vector<std::string>& arguments);
    void pointIntoWindow();

    TempFolder home{"flitmere-e2e-run"};
    PrivateDisplay display;
    XClient x{display.name()};
    sf::Image wingUpPicture;
    sf::Image wingDownPicture;
    sf::Image gameOverPicture;
    HudText hud;
    std::unique_ptr<ChildProcess> game;
    std::string windowTitle;
    std::optional<WindowId> gameWindow;
    std::unique_ptr<PresentedFrames> presented;
};

// Sleeps for a while: only between inputs, to let the game run frames, never to wait for a result.
void letRun(std::chrono::milliseconds time);
