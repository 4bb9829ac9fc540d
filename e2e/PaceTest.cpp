// The game's pace as a player sees it: an obstacle scrolls 2 px per update, 60 updates a second by the
// clock, whatever the display does (here Xvfb, which has no vertical sync), and a frame runs at most 4
// updates. So it crosses the window at 120 px/s wherever the machine draws 15 frames a second or more:
// a fast machine must not speed the game up, a slow one must not slow it down, and a game stopped for a
// second (a suspended machine, a window dragged) goes on from where it stood rather than jumping.
#include "support/Pace.hpp"
#include "support/GameRun.hpp"

#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <iostream>

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
} // namespace

TEST(Pace, ObstaclesScroll120PixelsASecondDownTo15FramesShownASecondAndAStallIsNotMadeUp)
{
    const AssetCopy assets;
    GameRun run(assets);
    ASSERT_TRUE(run.waitForWindow()) << "no window; " << run.describe();

    ObstacleWatch watch(run);
    const std::vector<Sighting> before = watch.look(measuredFor);
    // The whole process stopped, as a suspended machine is.
    const double stopped = watch.secondsNow();
    kill(run.pid(), SIGSTOP);
    letRun(stalledFor);
    const double resumed = watch.secondsNow();
    kill(run.pid(), SIGCONT);
    letRun(settleAfterTheStall);
    const std::vector<Sighting> after = watch.look(measuredFor);

    for (const std::vector<Sighting>* sightings : {&before, &after})
    {
        ASSERT_GE(sightings->size(), 8u) << describe(*sightings);
        const double pace = -fit(*sightings, &Sighting::x).slope;
        const double frameRate = fit(*sightings, &Sighting::framesShown).slope;
        const double seconds = sightings->back().seconds - sightings->front().seconds;
        // What the game owes by the frames it was seen to show: those further apart than 4 updates show
        // less, and within the sightings the world may fall behind the clock, or catch up, by 4 updates.
        const double lag = mostUpdatesPerFrame * pixelsPerUpdate / seconds;
        const double most = pixelsPerUpdate * updatesPerSecond + lag;
        const double least = pixelsPerUpdate * updatesPerSecond * shownShare(*sightings, run.frameTimes()) - lag;
        std::cout << "[ pace ] " << pace << " px/s (" << least << " to " << most << " owed) at " << frameRate
                  << " frames shown a second, from " << sightings->size() << " screenshots over " << seconds << " s"
                  << std::endl;
        EXPECT_GE(pace, least * (1.0 - paceTolerance)) << describe(*sightings);
        EXPECT_LE(pace, most * (1.0 + paceTolerance)) << describe(*sightings);
    }
    // Where the obstacle stood when the game stopped, and where it went on from.
    const double movedInTheStall = fit(before, &Sighting::x).at(stopped) - fit(after, &Sighting::x).at(resumed);
    std::cout << "[ pace ] " << movedInTheStall << " px moved over a stall of " << resumed - stopped << " s"
              << std::endl;
    EXPECT_LE(movedInTheStall, madeUpAtMost) << describe(before) << "\n" << describe(after);
}
