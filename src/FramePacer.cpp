#include "FramePacer.hpp"

#include <algorithm>
#include <cmath>

namespace
{
// Frames this close to 1/60 s apart, or further, need no holding back (59.94 Hz, 60.05 Hz panels).
constexpr float cadenceTolerance = 0.015f;
// Intervals learnt before the first decision; the median of them passes over a start-up hiccup.
constexpr std::size_t intervalsToDecide = 8;
constexpr std::int64_t mostRefreshesCounted = 4; // 240 Hz
// A counted frame begins this far into the refresh before its own, so that it is surely shown on its
// own refresh and not on the one before. Without vertical sync that makes the frames later than counted
// on (by 3% or more), which sends the pacer to its clock.
constexpr std::int64_t refreshShareBeforeStart = 8;

bool near(sf::Time value, sf::Time expected)
{
    return std::abs((value - expected).asMicroseconds()) <=
           static_cast<std::int64_t>(cadenceTolerance * static_cast<float>(expected.asMicroseconds()));
}
} // namespace

void FramePacer::Intervals::add(sf::Time interval)
{
    latest[next] = interval;
    next = (next + 1) % capacity;
    count = std::min(count + 1, capacity);
}

sf::Time FramePacer::Intervals::median() const
{
    std::array<sf::Time, capacity> sorted = latest;
    std::sort(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(count));
    return sorted[count / 2];
}

sf::Time FramePacer::nextFrameAt() const
{
    switch (pacing)
    {
    case Pacing::CountRefreshes:
        return lastShown + refreshPeriod * (refreshesPerUpdate - 1) + refreshPeriod / refreshShareBeforeStart;
    case Pacing::Clock:
        return deadline(tick);
    case Pacing::Measuring:
    case Pacing::FollowDisplay:
        break;
    }
    return lastShown;
}

int FramePacer::updatesDue(sf::Time frameBegins)
{
    sf::Time sinceLast = frameBegins - lastBegun;
    const bool first = !anyBegun;
    anyBegun = true;
    lastBegun = frameBegins;
    if (first)
    {
        owed = sf::Time::Zero;
        return 1;
    }
    if (near(sinceLast, updatePeriod))
        sinceLast = updatePeriod;
    owed += sinceLast;
    // Whole updates only: what is left over is owed to the next frame, so that a frame late by a little
    // and the one begun sooner after it run one update each, and frames that come unevenly keep the pace.
    const int updates = std::clamp(static_cast<int>(owed / updatePeriod), 1, mostUpdatesPerFrame);
    owed -= updatePeriod * static_cast<std::int64_t>(updates);
    // The world lags behind the clock by at most the updates of one frame: what a stall leaves beyond
    // that is let go. Frames too early run ahead by at most an update, which holding the next ones back
    // makes up.
    owed = std::clamp(owed, -updatePeriod, updatePeriod * static_cast<std::int64_t>(mostUpdatesPerFrame));
    return updates;
}

void FramePacer::frameShown(sf::Time shownAt)
{
    const bool heldBack = nextFrameAt() > lastShown;
    const sf::Time interval = shownAt - lastShown;
    const bool firstFrame = !anyShown;
    anyShown = true;
    lastShown = shownAt;
    if (firstFrame)
        return;

    if (!heldBack)
        unheld.add(interval);
    switch (pacing)
    {
    case Pacing::Measuring:
    case Pacing::FollowDisplay:
        learnCadence();
        break;
    case Pacing::CountRefreshes:
        counted.add(interval);
        checkRefreshCount();
        break;
    case Pacing::Clock:
        // A frame begun late by less than an update is made up for by the next one beginning sooner, so
        // that the pace keeps to 60 a second. Later than that, the clock starts over from the frame
        // shown: the next one begins at once, and the time lost is never made up by a burst of updates.
        if (deadline(tick + 2) <= shownAt)
            startClock(shownAt);
        else
            ++tick;
        // Frames begun late, at once, still tell the display's own cadence (a move to a 60 Hz monitor).
        if (!heldBack)
            learnCadence();
        break;
    }
}

void FramePacer::learnCadence()
{
    if (unheld.size() < intervalsToDecide)
        return;
    const sf::Time cadence = unheld.median();
    if (cadence >= updatePeriod - updatePeriod * cadenceTolerance)
    {
        pacing = Pacing::FollowDisplay;
        countingRefused = false;
        return;
    }
    const std::int64_t refreshes = std::llround(updatePeriod / cadence);
    if (!countingRefused && refreshes <= mostRefreshesCounted && near(cadence * refreshes, updatePeriod))
    {
        pacing = Pacing::CountRefreshes;
        refreshPeriod = cadence;
        refreshesPerUpdate = refreshes;
        counted.clear();
        return;
    }
    if (pacing != Pacing::Clock)
    {
        pacing = Pacing::Clock;
        unheld.clear();
        startClock(lastShown + updatePeriod);
    }
}

void FramePacer::checkRefreshCount()
{
    if (counted.size() < intervalsToDecide || near(counted.median(), refreshPeriod * refreshesPerUpdate))
        return;
    // The display no longer keeps the cadence counted on: learn it again, on the clock from now on.
    countingRefused = true;
    pacing = Pacing::Measuring;
    unheld.clear();
}

void FramePacer::startClock(sf::Time firstDeadline)
{
    clockStart = firstDeadline;
    tick = 0;
}

sf::Time FramePacer::deadline(std::int64_t tickNumber) const
{
    // Counted from the clock's start, so that rounding to microseconds never adds up.
    return clockStart + sf::microseconds(tickNumber * 1'000'000 / updatesPerSecond);
}
