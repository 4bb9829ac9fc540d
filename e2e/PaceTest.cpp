// The game's pace as a player sees it: an obstacle scrolls 2 px per update, so at 60 updates a second
// it crosses the window at 120 px/s, whatever the display does (here Xvfb, which has no vertical sync).
#include "support/GameRun.hpp"
#include "support/ObstacleOnScreen.hpp"

#include <gtest/gtest.h>

#include <array>
#include <iomanip>
#include <iostream>
#include <sstream>

namespace
{
constexpr double intendedPace = 120.0; // px/s
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
    int x;
};

// A few whole rows of the window: a screenshot that keeps the X server, and so the game, busy only
// for a moment, and whose moment is known to within a millisecond or two.
std::optional<Picture> captureRows(GameRun& run)
{
    Picture rows(windowWidth, static_cast<int>(rowsLookedAt.size()));
    for (std::size_t i = 0; i < rowsLookedAt.size(); ++i)
    {
        const int row = rowsLookedAt[i];
        const std::optional<Picture> strip = run.xClient().capture(run.window(), {0, row, windowWidth, row + 1});
        if (!strip)
            return std::nullopt;
        for (int x = 0; x < windowWidth; ++x)
            rows.set(x, static_cast<int>(i), strip->at(x, 0));
    }
    return rows;
}

std::string describe(const std::vector<Sighting>& sightings)
{
    std::ostringstream text;
    text << "the obstacle's left edge (s: x):";
    for (const Sighting& sighting : sightings)
        text << ' ' << std::fixed << std::setprecision(3) << sighting.seconds << ": " << sighting.x;
    return text.str();
}

// The slope of x over time, by least squares: px/s, negative while the obstacle moves left.
double slope(const std::vector<Sighting>& sightings)
{
    double meanT = 0.0;
    double meanX = 0.0;
    for (const Sighting& sighting : sightings)
    {
        meanT += sighting.seconds;
        meanX += sighting.x;
    }
    meanT /= static_cast<double>(sightings.size());
    meanX /= static_cast<double>(sightings.size());
    double covariance = 0.0;
    double variance = 0.0;
    for (const Sighting& sighting : sightings)
    {
        covariance += (sighting.seconds - meanT) * (sighting.x - meanX);
        variance += (sighting.seconds - meanT) * (sighting.seconds - meanT);
    }
    return covariance / variance;
}
} // namespace

TEST(Pace, ObstaclesScrollAt120PixelsASecond)
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
        const auto taken = std::chrono::steady_clock::now();
        ASSERT_TRUE(rows.has_value()) << "the window could not be read; " << run.describe();
        const std::optional<int> x = obstacle.find(*rows);
        if (x && *x <= measuredFromX && !start)
            start = now;
        if (start)
        {
            ASSERT_TRUE(x.has_value()) << "the obstacle left the view";
            ASSERT_GT(*x, nearestToTheBird) << "the obstacle came near the bird before the pace was measured";
            sightings.push_back({std::chrono::duration<double>(now + (taken - now) / 2 - *start).count(), *x});
        }
        letRun(lookEvery);
    }
    ASSERT_GE(sightings.size(), 10u);
    const double pace = -slope(sightings);
    std::cout << "[ pace ] " << pace << " px/s from " << sightings.size() << " screenshots over "
              << sightings.back().seconds - sightings.front().seconds << " s" << std::endl;
    EXPECT_NEAR(pace, intendedPace, intendedPace * paceTolerance) << describe(sightings);
}
