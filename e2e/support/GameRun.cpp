#include "support/GameRun.hpp"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

namespace
{
constexpr auto windowPollInterval = 50ms;
constexpr long framesJudged = 3;
constexpr auto slowFramesTimeout = 10s;
constexpr auto frozenFor = 400ms;
// The game-over screen shows the game-over picture everywhere but under the HUD.
constexpr double gameOverShareNeeded = 0.98;
constexpr auto xdotoolTimeout = 20s;
// Where the pointer rests inside the window: over the sky, right of the bird.
constexpr int pointerX = 600;
constexpr int pointerY = 400;

// The machine may have no sound card: the game then gets ALSA's null device, which takes the sound
// and plays it nowhere, so sounds start, play and end as they would on a real card.
constexpr const char* silentSoundConfig = "pcm.!default { type null }\nctl.!default { type hw card 0 }\n";

GameRun::Options inFolder(GameRun::Options options, const fs::path& folder)
{
    options.workingDirectory = folder;
    return options;
}

sf::Image loadPicture(const fs::path& path)
{
    sf::Image image;
    if (!image.loadFromFile(path))
        throw std::runtime_error("cannot read " + path.string());
    return image;
}
} // namespace

fs::path gameProgram()
{
    return FLITMERE_GAME;
}

GameRun::GameRun(const AssetCopy& assets) : GameRun(assets, Options{}) {}

GameRun::GameRun(const AssetCopy& assets, Options options) : GameRun(inFolder(std::move(options), assets.path())) {}

GameRun::GameRun(Options options)
    : display(options.display), wingUpPicture(loadPicture(builtAssets() / "wingUp2.bmp")),
      wingDownPicture(loadPicture(builtAssets() / "wingDown3.bmp")),
      gameOverPicture(loadPicture(builtAssets() / "gameOver.bmp")), windowTitle(options.windowTitle)
{
    // The test draws on the same display as the game when it reads the HUD.
    setenv("DISPLAY", display.name().c_str(), 1);
    if (!options.resources.empty())
        display.setResources(options.resources);
    std::ofstream(home.path() / ".asoundrc") << silentSoundConfig;
    Launch launch;
    launch.program = options.program;
    launch.arguments = options.arguments;
    launch.workingDirectory = options.workingDirectory;
    launch.environment = {{"DISPLAY", display.name()}, {"HOME", home.path().string()}};
    launch.environment.insert(launch.environment.end(), options.environment.begin(), options.environment.end());
    launch.standardOutput = home.path() / "stdout";
    launch.standardError = home.path() / "stderr";
    game = std::make_unique<ChildProcess>(launch);
}

GameRun::~GameRun()
{
    game->kill();
}

std::optional<ExitStatus> GameRun::waitForExit(std::chrono::milliseconds timeout)
{
    return game->waitForExit(timeout);
}

std::string GameRun::output() const
{
    return readFile(home.path() / "stdout");
}

std::string GameRun::errors() const
{
    return readFile(home.path() / "stderr");
}

std::string GameRun::describe()
{
    std::ostringstream text;
    if (const std::optional<ExitStatus> status = game->waitForExit(0ms))
        text << "the game ended with " << *status;
    else
        text << "the game is running";
    text << "; it printed \"" << output() << "\"";
    return text.str();
}

std::optional<WindowId> GameRun::waitForWindow(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline && game->running())
    {
        // The test's X server shows no window but the game's, and what Wine shows beside it.
        for (const WindowId shown : x.shownWindows())
            if (windowTitle.empty() || x.title(shown) == windowTitle)
            {
                gameWindow = shown;
                break;
            }
        if (gameWindow)
        {
            // The window is shown before the game draws into it, and on a busy machine its first
            // frame can take a second: what it shows counts from that frame on.
            presented = std::make_unique<PresentedFrames>(display.name(), *gameWindow);
            while (presented->count() == 0 && std::chrono::steady_clock::now() < deadline && game->running())
                std::this_thread::sleep_for(windowPollInterval);
            return gameWindow;
        }
        std::this_thread::sleep_for(windowPollInterval);
    }
    return std::nullopt;
}

Picture GameRun::capture()
{
    std::optional<Picture> picture = x.capture(window());
    if (!picture)
        throw std::runtime_error("the game's window could not be read");
    return *picture;
}

bool GameRun::looksFrozen(std::chrono::milliseconds apart)
{
    const Picture before = capture();
    const long shownBefore = presented->count();
    const auto lookedUntil = std::chrono::steady_clock::now() + apart + slowFramesTimeout;
    std::this_thread::sleep_for(apart);
    // The game draws every frame, paused or not; on a busy machine a glance can see none at all, so the
    // picture is judged over a few frames shown.
    while (presented->count() < shownBefore + framesJudged && std::chrono::steady_clock::now() < lookedUntil)
        std::this_thread::sleep_for(windowPollInterval);
    return capture() == before;
}

bool GameRun::waitForPicture(const std::function<bool(const Picture&)>& condition, std::chrono::milliseconds timeout,
                             std::chrono::milliseconds interval)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline)
    {
        if (!game->running())
            return false;
        if (condition(capture()))
            return true;
        std::this_thread::sleep_for(interval);
    }
    return false;
}

bool GameRun::waitForHud(int score, int lives, std::chrono::milliseconds timeout, std::chrono::milliseconds interval)
{
    return waitForPicture([&](const Picture& picture) { return hudShows(picture, score, lives); }, timeout, interval);
}

bool GameRun::waitUntilFrozen(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline)
    {
        if (!game->running())
            return false;
        if (looksFrozen(frozenFor))
            return true;
    }
    return false;
}

bool GameRun::showsGameOver(const Picture& picture) const
{
    return shareShown(picture, gameOverPicture, hudArea) >= gameOverShareNeeded;
}

void GameRun::xdotool(const std::vector<std::string>& arguments)
{
    Launch launch;
    launch.program = "/usr/bin/xdotool";
    launch.arguments = arguments;
    launch.environment = {{"DISPLAY", display.name()}};
    const ExitStatus status = runToEnd(launch, xdotoolTimeout);
    if (!(status == ExitStatus::withCode(0)))
        throw std::runtime_error("xdotool failed");
}

void GameRun::pointIntoWindow()
{
    const auto [left, top] = x.origin(window());
    x.focus(window());
    xdotool({"mousemove", std::to_string(left + pointerX), std::to_string(top + pointerY)});
}

void GameRun::click()
{
    pointIntoWindow();
    xdotool({"click", "1"});
}

void GameRun::pressKey(const std::string& key)
{
    pressKeys({key});
}

void GameRun::pressKeys(const std::vector<std::string>& keys)
{
    pointIntoWindow();
    std::vector<std::string> arguments{"key"};
    arguments.insert(arguments.end(), keys.begin(), keys.end());
    xdotool(arguments);
}

void GameRun::holdRightButton()
{
    pointIntoWindow();
    xdotool({"mousedown", "3"});
}

void GameRun::releaseRightButton()
{
    pointIntoWindow();
    xdotool({"mouseup", "3"});
}

void GameRun::minimize()
{
    xdotool({"windowminimize", "--sync", std::to_string(window())});
}

void GameRun::restore()
{
    const long shownBefore = presented->count();
    xdotool({"windowactivate", "--sync", std::to_string(window())});
    // Shown again before it is drawn again, blank: it is back once it has shown a frame.
    const auto deadline = std::chrono::steady_clock::now() + slowFramesTimeout;
    while ((presented->count() == shownBefore || !x.capture(window())) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(windowPollInterval);
}

void GameRun::resumeAndClick()
{
    pointIntoWindow();
    xdotool({"key", "p", "click", "1"});
}

void letRun(std::chrono::milliseconds time)
{
    std::this_thread::sleep_for(time);
}
