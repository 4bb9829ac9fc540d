#include "FramePacer.hpp"
#include "SleepUntil.hpp"

#include <gtest/gtest.h>

#include <time.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace
{
constexpr double noVerticalSync = 0.0;

// A display as the frame loop meets it: `display()` returns at the first refresh after the frame's work
// (input, update, drawing) is done, or at once where there is no vertical sync.
struct Display
{
    double refreshHz = 60.0;
    sf::Time work = sf::milliseconds(2);
    // Frames that take far longer: a window drag, a suspended laptop.
    int slowFrame = -1;
    int slowFrames = 1;
    sf::Time slowFrameWork;
    // The first frames are shown at once, while the driver has buffers free: a start-up hiccup.
    int shownAtOnce = 0;
    // The window moves to displays of other refresh rates: from each moment on, the rate given.
    std::vector<std::pair<sf::Time, double>> moves;
    // Frames that wait for the player (paused, or the window unfocused), each as long as the pacer says.
    int waitFrom = -1;
    int waitFrames = 0;

    [[nodiscard]] sf::Time shownAfter(int frame, sf::Time begun) const
    {
        const bool slow = frame >= slowFrame && frame < slowFrame + slowFrames;
        const sf::Time done = begun + (slow ? slowFrameWork : work);
        double hz = refreshHz;
        for (const auto& [at, movedTo] : moves)
            hz = done < at ? hz : movedTo;
        if (hz == noVerticalSync || frame < shownAtOnce)
            return done;
        const double period = 1e6 / hz;
        const double nextRefresh = std::floor(static_cast<double>(done.asMicroseconds()) / period) + 1.0;
        return sf::microseconds(std::llround(nextRefresh * period));
    }
};

// What the frame loop did with the pacer: when each frame was shown, how long each was held back, how
// many updates each ran.
struct Frames
{
    std::vector<sf::Time> shown;
    std::vector<sf::Time> heldBack;
    std::vector<int> updates;

    // Frames shown per second over [from, to).
    [[nodiscard]] double rate(sf::Time from, sf::Time to) const
    {
        const auto count = std::count_if(shown.begin(), shown.end(), [&](sf::Time t) { return t >= from && t < to; });
        return static_cast<double>(count) / (to - from).asSeconds();
    }
    // Updates per second over [from, to), counted with the frames that showed them.
    [[nodiscard]] double updateRate(sf::Time from, sf::Time to) const
    {
        int count = 0;
        for (std::size_t i = 0; i < shown.size(); ++i)
            count += shown[i] >= from && shown[i] < to ? updates[i] : 0;
        return count / (to - from).asSeconds();
    }
    [[nodiscard]] int mostUpdates(sf::Time from) const
    {
        int most = 0;
        for (std::size_t i = 0; i < shown.size(); ++i)
            most = shown[i] >= from ? std::max(most, updates[i]) : most;
        return most;
    }
    [[nodiscard]] sf::Time longestHold(sf::Time from) const
    {
        sf::Time longest;
        for (std::size_t i = 1; i < shown.size(); ++i)
            if (shown[i - 1] >= from)
                longest = std::max(longest, heldBack[i]);
        return longest;
    }
    // How many refreshes of `hz` each frame after `from` stayed on screen.
    [[nodiscard]] std::vector<long> refreshesShown(sf::Time from, double hz) const
    {
        std::vector<long> refreshes;
        for (std::size_t i = 1; i < shown.size(); ++i)
            if (shown[i - 1] >= from)
                refreshes.push_back(std::lround((shown[i] - shown[i - 1]).asSeconds() * hz));
        return refreshes;
    }
};

// The game's window and clock as the pacer meets them, on a fake clock: display() returns once shown.
struct Window
{
    const Display& monitor;
    int frame = 0;
    sf::Time now = sf::microseconds(4'321); // the first frame begins between two refreshes
    bool verticalSync = false;

    void setVerticalSyncEnabled(bool enabled) { verticalSync = enabled; }
    void display() { now = monitor.shownAfter(frame, now); }
    [[nodiscard]] sf::Time getElapsedTime() const { return now; }
};

// The frame loop of the game: wait as the pacer says, work, display.
Frames play(const Display& display, sf::Time length)
{
    Window window{display};
    FramePacer pacer(window);
    EXPECT_TRUE(window.verticalSync) << "the pacer counts refreshes only where the frames wait for them";
    Frames frames;
    for (; window.now < length; ++window.frame)
    {
        const bool waiting = window.frame >= display.waitFrom && window.frame < display.waitFrom + display.waitFrames;
        const sf::Time hold =
            waiting ? pacer.waitForPlayer() : std::max(sf::Time::Zero, pacer.nextFrameAt() - window.now);
        window.now += hold;
        frames.updates.push_back(pacer.updatesDue(window.now));
        pacer.show(window, window);
        frames.shown.push_back(window.now);
        frames.heldBack.push_back(hold);
    }
    return frames;
}

const sf::Time settled = sf::seconds(2);
const sf::Time played = sf::seconds(60);

void expectUpdatesPerSecond(const Frames& frames, double expected, sf::Time from = settled, sf::Time to = played)
{
    EXPECT_NEAR(frames.updateRate(from, to), expected, expected * 0.01);
}

// Where the display keeps up, as many frames as updates: none runs two.
void expectOneUpdatePerFrame(const Frames& frames)
{
    EXPECT_EQ(frames.mostUpdates(settled), 1);
    EXPECT_NEAR(frames.rate(settled, played), frames.updateRate(settled, played), 0.01);
}
} // namespace

TEST(FramePacer, A60HzDisplayIsFollowedRefreshByRefreshAndNeverHeldBack)
{
    for (const double hz : {60.0, 59.94, 60.05})
    {
        SCOPED_TRACE(hz);
        Display display;
        display.refreshHz = hz;
        display.shownAtOnce = 3; // the cadence is not learnt from the first interval alone
        const Frames frames = play(display, played);
        EXPECT_EQ(*std::max_element(frames.heldBack.begin(), frames.heldBack.end()), sf::Time::Zero);
        // Frames shown at once come early, and each still runs an update: none repeats the picture before.
        EXPECT_EQ(*std::min_element(frames.updates.begin(), frames.updates.end()), 1);
        // Past the hiccup every update is shown for exactly one refresh: none missed as the panel drifts.
        const std::vector<long> refreshes = frames.refreshesShown(frames.shown[3], hz);
        EXPECT_TRUE(std::all_of(refreshes.begin(), refreshes.end(), [](long n) { return n == 1; }));
        expectOneUpdatePerFrame(frames);
    }
}

TEST(FramePacer, FasterDisplaysShow60UpdatesASecond)
{
    for (const double hz : {144.0, 165.0, 75.0})
    {
        SCOPED_TRACE(hz);
        Display display;
        display.refreshHz = hz;
        const Frames frames = play(display, played);
        expectUpdatesPerSecond(frames, 60.0);
        expectOneUpdatePerFrame(frames);
    }
}

TEST(FramePacer, AtWholeMultiplesOf60HzEveryUpdateIsShownForTheSameNumberOfRefreshes)
{
    for (const double hz : {120.0, 119.88, 180.0, 240.0, 239.76})
    {
        SCOPED_TRACE(hz);
        Display display;
        display.refreshHz = hz;
        display.work = sf::microseconds(1'500);
        const Frames frames = play(display, played);
        expectUpdatesPerSecond(frames, hz / std::round(hz / 60.0));
        const std::vector<long> refreshes = frames.refreshesShown(settled, hz);
        const long each = std::lround(hz / 60.0);
        EXPECT_TRUE(std::all_of(refreshes.begin(), refreshes.end(), [&](long n) { return n == each; }));
        expectOneUpdatePerFrame(frames);
    }
}

TEST(FramePacer, WithoutVerticalSyncAClockOf60HzPacesTheFrames)
{
    Display fast;
    fast.refreshHz = noVerticalSync;
    fast.work = sf::milliseconds(1);
    // Frames as regular as a 120 Hz display's, yet not held to any refresh.
    Display lookalike = fast;
    lookalike.work = sf::microseconds(8'333);
    for (const Display& display : {fast, lookalike})
    {
        const Frames frames = play(display, played);
        expectUpdatesPerSecond(frames, 60.0);
        expectOneUpdatePerFrame(frames);
    }

    // Frames of uneven length, some longer than 1/60 s, still make 60 a second on average.
    Window window{fast};
    FramePacer pacer(window);
    sf::Time now;
    int shown = 0;
    for (int frame = 0; now < played; ++frame, ++shown)
    {
        now = std::max(now, pacer.nextFrameAt());
        now += sf::milliseconds(frame % 5 == 4 ? 20 : 4 + frame % 3);
        pacer.frameShown(now);
    }
    EXPECT_NEAR(shown / played.asSeconds(), 60.0, 0.6);
}

TEST(FramePacer, FramesThatComeLateRunTheUpdatesTheyOweDownTo15FramesASecond)
{
    // A slow machine's frames, with or without vertical sync, and a 50 Hz display.
    const struct
    {
        double hz;
        sf::Time work;
        double framesPerSecond;
        double updatesPerSecond; // below 15 frames a second the world slows down rather than jumping further
    } machines[] = {{noVerticalSync, sf::microseconds(33'333), 30.0, 60.0},
                    {60.0, sf::milliseconds(20), 30.0, 60.0},
                    {noVerticalSync, sf::milliseconds(50), 20.0, 60.0},
                    {noVerticalSync, sf::microseconds(66'667), 15.0, 60.0},
                    {50.0, sf::milliseconds(2), 50.0, 60.0},
                    {noVerticalSync, sf::milliseconds(100), 10.0, 40.0}};
    for (const auto& machine : machines)
    {
        SCOPED_TRACE(machine.framesPerSecond);
        Display slow;
        slow.refreshHz = machine.hz;
        slow.work = machine.work;
        const Frames frames = play(slow, played);
        EXPECT_NEAR(frames.rate(settled, played), machine.framesPerSecond, 0.5);
        expectUpdatesPerSecond(frames, machine.updatesPerSecond);
        EXPECT_EQ(frames.longestHold(settled), sf::Time::Zero);
    }
}

TEST(FramePacer, AStallOfASecondIsNotMadeUpForByABurstOfUpdates)
{
    for (const double hz : {60.0, 120.0, 144.0, noVerticalSync})
    {
        SCOPED_TRACE(hz);
        Display display;
        display.refreshHz = hz;
        display.slowFrame = 300;
        display.slowFrameWork = sf::seconds(1);
        const Frames frames = play(display, sf::seconds(10));
        const auto hiccup = std::adjacent_find(frames.shown.begin(), frames.shown.end(),
                                               [](sf::Time a, sf::Time b) { return b - a > sf::milliseconds(900); });
        ASSERT_NE(hiccup, frames.shown.end());
        const sf::Time after = *(hiccup + 1);
        // The frame after it runs the most updates a frame may, and the second after it no more than the
        // 60 of a second and the 4 the world may lag behind: the second lost stays lost.
        EXPECT_EQ(frames.mostUpdates(after), 4);
        EXPECT_LE(frames.updateRate(after + sf::milliseconds(1), after + sf::milliseconds(1'001)), 60.0 + 2 * 4);
        expectUpdatesPerSecond(frames, 60.0, after + sf::seconds(1), sf::seconds(10));
    }
}

TEST(FramePacer, AFrameAfterAWaitForThePlayerRunsOneUpdateAndThePaceResumes)
{
    for (const double hz : {60.0, 144.0, noVerticalSync})
    {
        SCOPED_TRACE(hz);
        Display display;
        display.refreshHz = hz;
        display.waitFrom = 300;
        display.waitFrames = 8;
        const Frames frames = play(display, sf::seconds(10));
        for (int frame = 300; frame <= 308; ++frame)
        {
            EXPECT_EQ(frames.heldBack[frame], frame < 308 ? sf::milliseconds(250) : sf::Time::Zero) << frame;
            EXPECT_EQ(frames.updates[frame], 1) << frame;
        }
        expectUpdatesPerSecond(frames, 60.0, frames.shown[308] + sf::seconds(1), sf::seconds(10));
    }
}

TEST(FramePacer, KeepsLearningTheDisplayAfterTheWindowMovesToAnotherMonitor)
{
    Display toFaster;
    toFaster.moves = {{sf::seconds(10), 144.0}};
    expectUpdatesPerSecond(play(toFaster, played), 60.0, sf::seconds(12));

    // From 120 Hz to 60 Hz, with frames too long to be begun a refresh late and still be shown in time.
    Display toSlower;
    toSlower.refreshHz = 120.0;
    toSlower.work = sf::milliseconds(8);
    toSlower.moves = {{sf::seconds(10), 60.0}};
    const Frames frames = play(toSlower, played);
    expectUpdatesPerSecond(frames, 60.0, sf::seconds(12));
    EXPECT_EQ(frames.longestHold(sf::seconds(12)), sf::Time::Zero);

    // From 144 Hz to a 60 Hz panel a little fast against the clock: a refresh is missed when the two
    // drift apart, once, and from then on the display is followed again.
    Display from144Hz;
    from144Hz.refreshHz = 144.0;
    from144Hz.moves = {{sf::seconds(10), 60.05}};
    const Frames after144 = play(from144Hz, sf::seconds(300));
    const std::vector<long> refreshes = after144.refreshesShown(sf::seconds(11), 60.05);
    EXPECT_LE(std::count_if(refreshes.begin(), refreshes.end(), [](long n) { return n != 1; }), 1);
    EXPECT_EQ(after144.longestHold(sf::seconds(60)), sf::Time::Zero);

    // Counting, given up at 120 Hz while the window was dragged, is taken up again after a 60 Hz display.
    Display dragged;
    dragged.refreshHz = 119.88;
    dragged.work = sf::microseconds(1'500);
    dragged.slowFrame = 300;
    dragged.slowFrames = 30;
    dragged.slowFrameWork = sf::milliseconds(20);
    dragged.moves = {{sf::seconds(10), 60.0}, {sf::seconds(20), 119.88}};
    const std::vector<long> counted = play(dragged, played).refreshesShown(sf::seconds(22), 119.88);
    EXPECT_TRUE(std::all_of(counted.begin(), counted.end(), [](long n) { return n == 2; }));
}

// Judged by what the wait does, never by how fast, with margins far beyond a loaded machine's delays.
TEST(SleepUntil, SleepsAndReturnsAtTheDeadline)
{
    const sf::Clock clock;
    const auto processorSeconds = [](const timespec& t) { return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9; };
    timespec before{};
    timespec after{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &before);
    sleepUntil(clock, sf::seconds(1));
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &after);
    EXPECT_LT(processorSeconds(after) - processorSeconds(before), 0.1) << "a second's wait spent awake";
    // The clock has run for a second: a wait is the time left, not the deadline's whole value.
    for (const sf::Time ahead : {sf::microseconds(50), sf::microseconds(300), sf::milliseconds(3)})
    {
        const sf::Time deadline = clock.getElapsedTime() + ahead;
        sleepUntil(clock, deadline);
        EXPECT_GE(clock.getElapsedTime(), deadline);
        EXPECT_LT(clock.getElapsedTime(), deadline + sf::milliseconds(500));
    }
}
