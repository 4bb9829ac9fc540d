// The game's pace as a player sees it: an obstacle scrolls 2 px per update, one update per frame shown,
// and never more than 60 updates a second, whatever the display does (here Xvfb, which has no vertical
// sync). So it crosses the window at 120 px/s where the machine draws 60 frames a second or more, and
// at 2 px per frame shown where it cannot: a slow machine slows the game, a fast one must not speed it.
#include "support/GameRun.hpp"
#include "support/ObstacleOnScreen.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iomanip>
#include <iostream>
#include <sstream>

namespace
{
constexpr double pixelsPerUpdate = 2.0;
constexpr double updatesPerSecond = 60.0;
constexpr double paceTolerance = 0.03;
constexpr auto measuredFor = 2500ms;
constexpr auto lookEvery = 80ms;
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

// How fast a sighting's value changes over time, by least squares: per second.
double slope(const std::vector<Sighting>& sightings, double Sighting::*value)
{
    double meanT = 0.0;
    double meanV = 0.0;
    for (const Sighting& sighting : sightings)
    {
        meanT += sighting.seconds;
        meanV += sighting.*value;
    }
    meanT /= static_cast<double>(sightings.size());
    meanV /= static_cast<double>(sightings.size());
    double covariance = 0.0;
    double variance = 0.0;
    for (const Sighting& sighting : sightings)
    {
        covariance += (sighting.seconds - meanT) * (sighting.*value - meanV);
        variance += (sighting.seconds - meanT) * (sighting.seconds - meanT);
    }
    return covariance / variance;
}
} // namespace

TEST(Pace, ObstaclesScroll2PixelsPerFrameShownAtMost60FramesASecond)
{
    sf::Image obstaclePicture;
    ASSERT_TRUE(obstaclePicture.loadFromFile(builtAssets() / "obstacle.bmp"));
    const ObstacleOnScreen obstacle(obstaclePicture);
    const AssetCopy assets;
    GameRun run(assets);
    ASSERT_TRUE(run.waitForWindow()) << "no window; " << run.describe();

    std::vector<Sighting> sightings;
    const auto comeInBy = std::chrono::steady_clock::now() + 20s;
    std::optional<std::chrono::steady_clock::time_point> start;
    for (auto now = std::chrono::steady_clock::now(); !start || now - *start < measuredFor;
         now = std::chrono::steady_clock::now())
    {
        ASSERT_LT(now, comeInBy) << "no obstacle came into view; " << run.describe();
        const std::optional<Picture> rows = captureRows(run);
        const long frames = run.framesShown();
        const auto taken = std::chrono::steady_clock::now();
        ASSERT_TRUE(rows.has_value()) << "the window could not be read; " << run.describe();
        const std::optional<int> x = obstacle.find(*rows);
        if (x && *x <= measuredFromX && !start)
            start = now;
        if (start)
        {
            ASSERT_TRUE(x.has_value()) << "the obstacle left the view";
            // A game too fast brings the obstacle near the bird early: its pace is judged on what was seen.
            if (*x <= nearestToTheBird)
                break;
            sightings.push_back({std::chrono::duration<double>(now + (taken - now) / 2 - *start).count(),
                                 static_cast<double>(*x), static_cast<double>(frames)});
        }
        letRun(lookEvery);
    }
    ASSERT_GE(sightings.size(), 10u);
    const double pace = -slope(sightings, &Sighting::x);
    const double frameRate = slope(sightings, &Sighting::framesShown);
    const double intendedPace = pixelsPerUpdate * std::min(updatesPerSecond, frameRate);
    std::cout << "[ pace ] " << pace << " px/s at " << frameRate << " frames shown a second, from " << sightings.size()
              << " screenshots over " << sightings.back().seconds - sightings.front().seconds << " s" << std::endl;
    EXPECT_NEAR(pace, intendedPace, intendedPace * paceTolerance) << describe(sightings);
}
