// Plays the built game in an X server of its own and saves what its window shows into the folder
// named on the command line: screenshot.png (a game under way), paused.png, dying.png and
// game-over.png. The pictures are taken from the real program, with real input, as a player sees it.
#include "support/GameRun.hpp"

#include <iostream>

namespace
{
// The bird is kept about here by clicking whenever it has sunk below it.
constexpr int hoverY = 330;
constexpr auto pilotLook = 40ms;

struct Failure : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

// Clicks whenever the bird has sunk below the hover height, for `time` or until `stop` holds.
void hover(GameRun& run, std::chrono::milliseconds time, const std::function<bool(const Picture&)>& stop = {})
{
    const auto end = std::chrono::steady_clock::now() + time;
    while (std::chrono::steady_clock::now() < end)
    {
        if (!run.running())
            throw Failure("the game ended: " + run.describe());
        const Picture picture = run.capture();
        if (stop && stop(picture))
            return;
        const std::optional<int> y = run.birdY(picture);
        if (y && *y > hoverY)
            run.click();
        letRun(pilotLook);
    }
    if (stop)
        throw Failure("what was waited for did not happen");
}

void save(const Picture& picture, const std::filesystem::path& path)
{
    if (!picture.save(path))
        throw Failure("cannot write " + path.string());
    std::cout << "wrote " << path.string() << std::endl;
}

Picture pausedPicture(GameRun& run)
{
    run.pressKey("p");
    if (!run.waitUntilFrozen())
        throw Failure("P did not pause the game");
    return run.capture();
}

// The HUD's corner of a game under way, on a desktop at 100% and at 200% (Xft.dpi 192): the window
// twice as large, its text set at twice the size and its pictures enlarged with hard edges.
void takeCornersAtTwoDensities(const std::filesystem::path& folder)
{
    for (const auto& [dotsPerInch, name] : {std::pair{96, "corner-100.png"}, std::pair{192, "corner-200.png"}})
    {
        const AssetCopy assets;
        GameRun::Options options;
        options.display.width = 2560;
        options.display.height = 1600;
        options.resources = "Xft.dpi:\t" + std::to_string(dotsPerInch) + "\n";
        GameRun run(assets, options);
        if (!run.waitForWindow())
            throw Failure("no window: " + run.describe());
        hover(run, 3500ms);
        const Picture whole = pausedPicture(run);
        // The world's top-right 360x240 pixels, as many of the window's as show them.
        const int scale = whole.width() / 1200;
        Picture corner(360 * scale, 240 * scale);
        if (!corner.copy(whole, {0, 0}, sf::IntRect({840 * scale, 0}, {360 * scale, 240 * scale})))
            throw Failure("the window is smaller than the corner");
        save(corner, folder / name);
    }
}

void takePictures(const std::filesystem::path& folder)
{
    const AssetCopy assets;
    GameRun run(assets);
    if (!run.waitForWindow())
        throw Failure("no window: " + run.describe());

    // The first obstacle comes into view while the bird hovers.
    hover(run, 3500ms);
    save(pausedPicture(run), folder / "screenshot.png");
    run.pressKey("p");
    hover(run, 700ms);
    save(pausedPicture(run), folder / "paused.png");

    // Hovering on until an obstacle is hit: the HUD then shows a life fewer, the bird tumbles.
    constexpr int mostPoints = 9;
    const auto lifeLost = [&](const Picture& picture)
    {
        for (int score = 0; score <= mostPoints; ++score)
            if (run.hudShows(picture, score, 2))
                return true;
        return false;
    };
    static_cast<void>(lifeLost(run.capture())); // the HUD's texts are drawn for comparison before play goes on
    run.pressKey("p");
    hover(run, 120s, lifeLost);
    save(run.capture(), folder / "dying.png");

    if (!run.waitForPicture([&](const Picture& picture) { return run.showsGameOver(picture); }, 240s, 250ms))
        throw Failure("the game-over picture never appeared");
    save(run.capture(), folder / "game-over.png");
    run.requestClose();
    if (run.waitForExit(20s) != ExitStatus::withCode(0))
        throw Failure("the game did not end with status 0 when its window was closed");
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: " << argv[0] << " FOLDER\n";
        return 2;
    }
    try
    {
        std::filesystem::create_directories(argv[1]);
        takeCornersAtTwoDensities(argv[1]);
        takePictures(argv[1]);
    }
    catch (const std::exception& error)
    {
        std::cerr << "screenshots: " << error.what() << std::endl;
        return 1;
    }
    return 0;
}
