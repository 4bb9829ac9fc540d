#include "support/Pace.hpp"

#include <algorithm>
#include <array>
#include <iomanip>
#include <sstream>
#include <stdexcept>

namespace
{
constexpr auto lookEvery = 40ms;
constexpr auto comeInWithin = 20s;
// The first obstacle comes in at x 1200; without input the bird is hit once it nears x 433.
constexpr int measuredFromX = 1050;
constexpr int nearestToTheBird = 600;
constexpr int windowWidth = 1200;
// An obstacle's opening, 100 px high, hides it from at most one of these rows.
constexpr std::array<int, 3> rowsLookedAt{200, 400, 600};

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
} // namespace

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

double shownShare(const std::vector<Sighting>& sightings, const std::vector<std::uint32_t>& frameTimes)
{
    constexpr std::uint32_t coveredByAFrameMs = 67;
    const auto first = static_cast<std::size_t>(sightings.front().framesShown) - 1;
    const auto last = static_cast<std::size_t>(sightings.back().framesShown) - 1;
    std::uint32_t lostMs = 0;
    for (std::size_t frame = first + 1; frame <= last; ++frame)
        lostMs += std::max(frameTimes[frame] - frameTimes[frame - 1], coveredByAFrameMs) - coveredByAFrameMs;
    return 1.0 - static_cast<double>(lostMs) / static_cast<double>(frameTimes[last] - frameTimes[first]);
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

ObstacleWatch::ObstacleWatch(GameRun& run) : run(run)
{
    if (!obstaclePicture.loadFromFile(builtAssets() / "obstacle.bmp"))
        throw std::runtime_error("cannot read the obstacle's picture");
    obstacle.emplace(obstaclePicture);
    const auto comeInBy = std::chrono::steady_clock::now() + comeInWithin;
    for (std::optional<int> x = sight().first; !(x && *x <= measuredFromX); x = sight().first)
    {
        if (std::chrono::steady_clock::now() >= comeInBy)
            throw std::runtime_error("no obstacle came into view; " + run.describe());
        letRun(lookEvery);
    }
    start = std::chrono::steady_clock::now();
}

std::vector<Sighting> ObstacleWatch::look(std::chrono::milliseconds duration)
{
    std::vector<Sighting> sightings;
    for (const auto until = std::chrono::steady_clock::now() + duration; std::chrono::steady_clock::now() < until;
         letRun(lookEvery))
    {
        const double before = secondsNow();
        const auto [x, frames] = sight();
        const double after = secondsNow();
        if (!x)
            throw std::runtime_error("the obstacle left the view; " + describe(sightings));
        if (*x <= nearestToTheBird)
            break;
        sightings.push_back({(before + after) / 2, static_cast<double>(*x), frames});
    }
    return sightings;
}

double ObstacleWatch::secondsNow() const
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::pair<std::optional<int>, double> ObstacleWatch::sight()
{
    const std::optional<Picture> rows = captureRows(run);
    if (!rows)
        throw std::runtime_error("the window could not be read; " + run.describe());
    return {obstacle->find(*rows), static_cast<double>(run.framesShown())};
}
