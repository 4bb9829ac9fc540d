// The game's pace as a player sees it: an obstacle scrolls 2 px per update, 60 updates a second by the
// clock, whatever the display does (here Xvfb, which has no vertical sync), and a frame runs at most 4
// updates. So it crosses the window at 120 px/s wherever the machine draws 15 frames a second or more:
// a fast machine must not speed the game up, a slow one must not slow it down, and a game stopped for a
// second (a suspended machine, a window dragged) goes on from where it stood rather than jumping.
#include "support/GameRun.hpp"
#include "support/ObstacleOnScreen.hpp"

#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <array>
#include <iomanip>
#include <iostream>
#include <sstream>

namespace
{
constexpr double pixelsPerUpdate = 2.0;
constexpr double updatesPerSecond = 60.0;
constexpr double mostUpdatesPerFrame = 4.0;
constexpr double paceTolerance = 0.03;
// Before and after the stall.
constexpr auto measuredFor = 1500ms;
constexpr auto stalledFor = 1s;
// After it, the frames make up what the world may lag behind: the pace is measured once they have.
constexpr auto settleAfterTheStall = 300ms;
// What the frames after the stall may make up (the world lags behind the clock by at most the 4 updates
// of a frame, and the first frame runs 4), and how far the two lines' ends may miss the truth.
constexpr double madeUpAtMost = 2 * mostUpdatesPerFrame * pixelsPerUpdate + 12.0;
constexpr auto lookEvery = 40ms;
// The first obstacle comes in at x 1200; without input the bird is hit once it nears x 433, so the
// pace is measured while the obstacle is wholly in view and still far from the bird, after the first
// second of play (the game's first frames come slower while the renderer and the sound settle).
constexpr int measuredFromX = 1050;
constexpr int nearestToTheBird = 600;
constexpr int windowWidth = 1200;
// An obstacle's opening, 100 px high, hides it from at most one of these rows.
constexpr std::array<int, 3> rowsLookedAt{200, 400, 600};

struct Sighting
{
    double seconds; // halfway through the screenshot
    double x;
    double framesShown; // since the game's window appeared
};

// A few whole rows of the window: a screenshot that keeps the X server, and so the game, busy only
// for a moment, and whose moment is known to within a millisecond or two.
std::optional<Picture> captureRows(GameRun& run)
{
    Picture rows(windowWidth, static_cast<int>(rowsLookedAt.size()));
    for (unsigned i = 0; i < rowsLookedAt.size(); ++i)
    {
        const int row = rowsLookedAt[i];
        const std::optional<Picture> strip = run.xClient().capture(run.window(), {0, row, windowWidth, row + 1});
        if (!strip || !rows.copy(*strip, {0, i}))
            return std::nullopt;
    }
    return rows;
}

std::string describe(const std::vector<Sighting>& sightings)
{
    std::ostringstream text;
    text << "the obstacle's left edge (s: x, frames shown):";
    for (const Sighting& sighting : sightings)
        text << ' ' << std::fixed << std::setprecision(3) << sighting.seconds << ": " << sighting.x << ", "
             << std::setprecision(0) << sighting.framesShown;
    return text.str();
}

// A sighting's value over time, by least squares.
struct Line
{
    double slope; // per second
    double meanT;
    double meanV;
    [[nodiscard]] double at(double seconds) const { return meanV + slope * (seconds - meanT); }
};

Line fit(const std::vector<Sighting>& sightings, double Sighting::*value)
{
    Line line{0.0, 0.0, 0.0};
    for (const Sighting& sighting : sightings)
    {
        line.meanT += sighting.seconds;
        line.meanV += sighting.*value;
    }
    line.meanT /= static_cast<double>(sightings.size());
    line.meanV /= static_cast<double>(sightings.size());
    double covariance = 0.0;
    double variance = 0.0;
    for (const Sighting& sighting : sightings)
    {
        covariance += (sighting.seconds - line.meanT) * (sighting.*value - line.meanV);
        variance += (sighting.seconds - line.meanT) * (sighting.seconds - line.meanT);
    }
    line.slope = covariance / variance;
    return line;
}

double secondsSince(std::chrono::steady_clock::time_point start, std::chrono::steady_clock::time_point moment)
{
    return std::chrono::duration<double>(moment - start).count();
}
} // namespace

TEST(Pace, ObstaclesScroll120PixelsASecondDownTo15FramesShownASecondAndAStallIsNotMadeUp)
{
    sf::Image obstaclePicture;
    ASSERT_TRUE(obstaclePicture.loadFromFile(builtAssets() / "obstacle.bmp"));
    const ObstacleOnScreen obstacle(obstaclePicture);
    const AssetCopy assets;
    GameRun run(assets);
    ASSERT_TRUE(run.waitForWindow()) << "no window; " << run.describe();

    // The obstacle's left edge, where it can be seen now; nothing where the window cannot be read.
    const auto sight = [&]() -> std::optional<std::pair<std::optional<int>, double>>
    {
        const std::optional<Picture> rows = captureRows(run);
        if (!rows)
            return std::nullopt;
        return std::pair{obstacle.find(*rows), static_cast<double>(run.framesShown())};
    };
    const auto comeInBy = std::chrono::steady_clock::now() + 20s;
    std::optional<std::pair<std::optional<int>, double>> seen;
    for (; (seen = sight()) && !(seen->first && *seen->first <= measuredFromX); letRun(lookEvery))
        ASSERT_LT(std::chrono::steady_clock::now(), comeInBy) << "no obstacle came into view; " << run.describe();
    ASSERT_TRUE(seen.has_value()) << "the window could not be read; " << run.describe();
    const auto start = std::chrono::steady_clock::now();

    // Sightings for `measuredFor`, while the obstacle is well in view and still far from the bird.
    const auto look = [&](std::vector<Sighting>& sightings)
    {
        for (const auto until = std::chrono::steady_clock::now() + measuredFor;
             std::chrono::steady_clock::now() < until; letRun(lookEvery))
        {
            const auto now = std::chrono::steady_clock::now();
            seen = sight();
            const auto taken = std::chrono::steady_clock::now();
            ASSERT_TRUE(seen.has_value()) << "the window could not be read; " << run.describe();
            ASSERT_TRUE(seen->first.has_value()) << "the obstacle left the view";
            // A game too fast brings the obstacle near the bird early: its pace is judged on what was seen.
            if (*seen->first <= nearestToTheBird)
                return;
            sightings.push_back(
                {secondsSince(start, now + (taken - now) / 2), static_cast<double>(*seen->first), seen->second});
        }
    };
    std::vector<Sighting> before;
    look(before);
    // The whole process stopped, as a suspended machine is.
    const double stopped = secondsSince(start, std::chrono::steady_clock::now());
    kill(run.pid(), SIGSTOP);
    letRun(stalledFor);
    const double resumed = secondsSince(start, std::chrono::steady_clock::now());
    kill(run.pid(), SIGCONT);
    letRun(settleAfterTheStall);
    std::vector<Sighting> after;
    look(after);

    for (const std::vector<Sighting>* sightings : {&before, &after})
    {
        ASSERT_GE(sightings->size(), 8u) << describe(*sightings);
        const double pace = -fit(*sightings, &Sighting::x).slope;
        const double frameRate = fit(*sightings, &Sighting::framesShown).slope;
        const double intendedPace = pixelsPerUpdate * std::min(updatesPerSecond, mostUpdatesPerFrame * frameRate);
        std::cout << "[ pace ] " << pace << " px/s at " << frameRate << " frames shown a second, from "
                  << sightings->size() << " screenshots over " << sightings->back().seconds - sightings->front().seconds
                  << " s" << std::endl;
        EXPECT_NEAR(pace, intendedPace, intendedPace * paceTolerance) << describe(*sightings);
    }
    // Where the obstacle stood when the game stopped, and where it went on from.
    const double movedInTheStall = fit(before, &Sighting::x).at(stopped) - fit(after, &Sighting::x).at(resumed);
    std::cout << "[ pace ] " << movedInTheStall << " px moved over a stall of " << resumed - stopped << " s"
              << std::endl;
    EXPECT_LE(movedInTheStall, madeUpAtMost) << describe(before) << "\n" << describe(after);
}
