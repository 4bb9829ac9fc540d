// What the player hears, through a desktop sound server: a private PulseAudio whose default sink is a
// null sink, its monitor recorded while the real game plays six seconds of clicks and then on until
// the bird dies. From the recording: the sound never drops out, nothing is clipped, the tune plays at
// its file's level, every click while alive is heard as one flap soon after it and no flap is heard
// without one, and every hit is heard as the squawk and, 0.375 s later, the death sound. Then, in a
// game of its own, the server is killed and started again, and the game is heard again.
#include "support/GameRun.hpp"
#include "support/SoundServer.hpp"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <iostream>

namespace
{
constexpr int clicks = 12;
constexpr auto clickInterval = 500ms;
constexpr auto tuneAlone = 1s;               // before the first click: the tune, and the flap every game begins with
constexpr auto soundTimeout = 30s;           // from the window to the first sound
constexpr auto deathTimeout = 40s;           // from the last click to a death: the next column comes at any frame rate
constexpr auto deathSilence = 1s;            // the tune is paused while the bird dies, and the death sound is over
constexpr double dropoutShortest = 0.001;    // s: shorter gaps are part of a sound's own waveform
constexpr double dropoutLongest = 0.5;       // s: the only longer silence is the end of a death sequence
constexpr double dropoutsAllowedPer8s = 3.0; // for a loaded machine
constexpr double levelTolerance = 1.5;       // dB
constexpr double flapLatest = 0.085;         // s after the click: a 50 ms buffer, the next frame and one late
constexpr double flapLikeness = 0.4;         // the soft flap over the tune's loud passages: see findSound
constexpr double flapSeconds = 0.25;         // the flap sound's length, rounded up
constexpr double deathSoundAfter = 0.375;    // s after the squawk, on the first frame from then on
constexpr double deathSoundEarlier = 0.02;   // s: where the server's buffer happened to place each sound
constexpr double deathSoundLater = 0.15;     // s: a frame late on a loaded machine
constexpr double reviveAfter = 3.5;          // s after the squawk: the tune comes back, and a flap begins
constexpr double frameMargin = 0.1;          // s around a hit or a revive, where a click may or may not flap
constexpr double levelBlockSeconds = 0.2;
constexpr auto restartAfter = 2s;        // from the server's death to a new one on the same socket
constexpr auto listenAfterRestart = 11s; // to the new server
constexpr double heardAgainWithin = 7.0; // s after the new server's start
constexpr double heardAgainFor = 2.0;    // s of sound in all, in the 11 s
constexpr auto closeTimeout = 20s;

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition())
    {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        letRun(50ms);
    }
    return true;
}

// A click happened between these two moments.
struct Click
{
    std::chrono::steady_clock::time_point before;
    std::chrono::steady_clock::time_point after;
};

// One game, heard once for every check.
class ThroughASoundServer : public testing::Test
{
protected:
    struct Heard
    {
        Recording recording;
        std::optional<Span> span;
        std::vector<Click> clicks;
        std::vector<std::size_t> flaps;
        std::vector<std::size_t> squawks;
        std::vector<std::size_t> deathSounds;
        std::string gameOutput;
        std::string serverLog;
    };

    static void SetUpTestSuite()
    {
        // The game's own choice of buffer is under test, not one the test's environment might pass on.
        unsetenv("PULSE_LATENCY_MSEC");
        heard = std::make_unique<Heard>(play());
        if (heard->span)
        {
            const Recording& r = heard->recording;
            heard->flaps = findSound(r, *heard->span, asset("flap.wav").channels[0], flapLikeness);
            heard->squawks = findSound(r, *heard->span, asset("squawk.wav").channels[0]);
            heard->deathSounds = findSound(r, *heard->span, asset("death.wav").channels[0]);
            const auto list = [&](const char* what, const std::vector<std::size_t>& at)
            {
                std::cout << what << " at";
                for (const std::size_t frame : at)
                    std::cout << ' ' << r.secondsOf(frame - heard->span->first);
                std::cout << " s\n";
            };
            list("flaps", heard->flaps);
            list("squawks", heard->squawks);
            list("death sounds", heard->deathSounds);
        }
    }
    static void TearDownTestSuite() { heard.reset(); }
    void SetUp() override
    {
        ASSERT_TRUE(heard->span) << "nothing was heard; the game printed \"" << heard->gameOutput
                                 << "\"; the sound server said: " << heard->serverLog;
    }

    static Heard play()
    {
        const PrivateSoundServer server;
        MonitorRecorder recorder(server);
        const AssetCopy assets;
        GameRun::Options options;
        options.environment = server.clientEnvironment();
        GameRun run(assets, options);

        Heard result;
        if (run.waitForWindow() && waitFor([&] { return recorder.heardSound(); }, soundTimeout))
        {
            letRun(tuneAlone);
            // The first click also points into the window; the others click where the pointer is.
            Click first;
            first.before = std::chrono::steady_clock::now();
            run.click();
            first.after = std::chrono::steady_clock::now();
            result.clicks.push_back(first);
            letRun(clickInterval);
            for (int i = 1; i < clicks; ++i)
            {
                result.clicks.push_back(clickWhereThePointerIs(run));
                letRun(clickInterval);
            }
            waitFor([&] { return recorder.silentAfterSoundFor(deathSilence); }, deathTimeout);
        }
        result.recording = recorder.stop();
        result.span = soundSpan(result.recording);
        result.gameOutput = run.output();
        result.serverLog = server.log();
        return result;
    }

    // A click sent straight to the X server: the moments before and after it bound it closely.
    static Click clickWhereThePointerIs(GameRun& run)
    {
        Click click;
        click.before = std::chrono::steady_clock::now();
        run.xClient().click();
        click.after = std::chrono::steady_clock::now();
        return click;
    }

    static const Recording& recording() { return heard->recording; }
    static Span span() { return *heard->span; }
    static SoundFile asset(const std::string& name) { return readSoundFile(builtAssets() / name); }
    static double seconds(double frames) { return frames / recording().rate; }
    static double secondsBetween(std::size_t from, std::size_t to)
    {
        return seconds(static_cast<double>(to) - static_cast<double>(from));
    }
    static double secondsBetween(std::chrono::steady_clock::time_point from, std::size_t to)
    {
        return seconds(static_cast<double>(to) - recording().frameAt(from));
    }
    // Whether a click at the frame may or may not be heard as a flap: within a frame or two of a
    // revive, or of a hit, where the order of one frame decides, or so shortly before a hit that its
    // flap is drowned by the squawk.
    static bool nearHitOrRevive(double frame)
    {
        return std::any_of(heard->squawks.begin(), heard->squawks.end(),
                           [&](std::size_t squawk)
                           {
                               const double t = seconds(frame - static_cast<double>(squawk));
                               return (t > -flapSeconds - frameMargin && t < frameMargin) ||
                                      std::abs(t - reviveAfter) < frameMargin;
                           });
    }
    static bool whileDying(double frame)
    {
        return std::any_of(heard->squawks.begin(), heard->squawks.end(),
                           [&](std::size_t squawk)
                           {
                               const double t = seconds(frame - static_cast<double>(squawk));
                               return t >= 0.0 && t < reviveAfter;
                           });
    }

    static std::unique_ptr<Heard> heard;
};
std::unique_ptr<ThroughASoundServer::Heard> ThroughASoundServer::heard;
} // namespace

TEST_F(ThroughASoundServer, TheSoundNeverDropsOut)
{
    const std::vector<std::size_t> gaps =
        silences(recording(), span(), recording().framesOf(dropoutShortest), recording().framesOf(dropoutLongest));
    std::size_t silentFrames = 0;
    for (const std::size_t gap : gaps)
        silentFrames += gap;
    std::cout << "dropouts: " << gaps.size() << " in " << secondsBetween(span().first, span().last) << " s, "
              << seconds(static_cast<double>(silentFrames)) * 1000.0 << " ms of silence in all\n";
    const double playing = secondsBetween(span().first, span().last);
    EXPECT_LE(static_cast<double>(gaps.size()), std::floor(dropoutsAllowedPer8s * playing / 8.0))
        << "runs of digital silence while the game played";
}

TEST_F(ThroughASoundServer, NoSampleReachesFullScale)
{
    EXPECT_EQ(samplesAtFullScale(recording()), 0) << "the mix was clipped";
}

TEST_F(ThroughASoundServer, TheTunePlaysAtItsFilesLevelOnBothChannels)
{
    // The tune starts with the game and is paused while the bird dies; stretches with another sound in
    // them are left out.
    const std::size_t block = recording().framesOf(levelBlockSeconds);
    const std::size_t flapLength = recording().framesOf(flapSeconds);
    const std::size_t dying = recording().framesOf(reviveAfter);
    std::vector<Block> blocks;
    for (std::size_t at = span().first; at + block <= span().last; at += block)
    {
        const auto overlaps = [&](std::size_t from, std::size_t length)
        { return from < at + block && from + length > at; };
        const bool flapped = std::any_of(heard->flaps.begin(), heard->flaps.end(),
                                         [&](std::size_t flap) { return overlaps(flap, flapLength); });
        const bool died = std::any_of(heard->squawks.begin(), heard->squawks.end(),
                                      [&](std::size_t squawk) { return overlaps(squawk, dying + flapLength); });
        if (flapped || died)
            continue;
        const auto deathsBefore = std::count_if(heard->squawks.begin(), heard->squawks.end(),
                                                [&](std::size_t squawk) { return squawk < at; });
        blocks.push_back({at, at - span().first - static_cast<std::size_t>(deathsBefore) * dying, block});
    }
    const SoundFile tune = asset("background.wav");
    for (const unsigned channel : {0u, 1u})
    {
        const std::optional<double> level = levelAgainst(recording(), tune, channel, blocks);
        ASSERT_TRUE(level) << "no stretch of the tune alone was heard";
        std::cout << "tune level against its file, channel " << channel << ": " << *level << " dB over "
                  << blocks.size() << " blocks of " << levelBlockSeconds << " s\n";
        EXPECT_NEAR(*level, 0.0, levelTolerance) << "channel " << channel;
    }
}

TEST_F(ThroughASoundServer, EveryClickWhileAliveIsHeardAsOneFlapSoonAfterItAndNoFlapWithout)
{
    ASSERT_EQ(heard->clicks.size(), static_cast<std::size_t>(clicks)) << "the game did not play long enough";
    const auto follows = [](const Click& click, std::size_t flap)
    { return secondsBetween(click.before, flap) >= 0.0 && secondsBetween(click.after, flap) <= flapLatest; };
    const auto flapsAfter = [&](const Click& click)
    {
        return std::count_if(heard->flaps.begin(), heard->flaps.end(),
                             [&](std::size_t flap) { return follows(click, flap); });
    };
    int alive = 0;
    for (const Click& click : heard->clicks)
    {
        const double at = recording().frameAt(click.after);
        if (nearHitOrRevive(at))
            continue;
        const bool dying = whileDying(at);
        alive += dying ? 0 : 1;
        EXPECT_EQ(flapsAfter(click), dying ? 0 : 1)
            << "click " << seconds(at) << " s into the recording, " << (dying ? "while dying" : "while alive");
        const auto next = std::lower_bound(heard->flaps.begin(), heard->flaps.end(),
                                           static_cast<std::size_t>(recording().frameAt(click.before)));
        if (!dying && next != heard->flaps.end())
            std::cout << "flap " << secondsBetween(click.after, *next) * 1000.0 << " to "
                      << secondsBetween(click.before, *next) * 1000.0 << " ms after its click\n";
    }
    EXPECT_GT(alive, 0) << "no click while alive";

    // Every flap has a cause: the start of the game, a revive, or a click.
    for (const std::size_t flap : heard->flaps)
    {
        const bool atStart = secondsBetween(span().first, flap) < flapSeconds;
        const bool atRevive = std::any_of(
            heard->squawks.begin(), heard->squawks.end(),
            [&](std::size_t squawk) { return std::abs(secondsBetween(squawk, flap) - reviveAfter) < frameMargin; });
        const bool afterClick = std::any_of(heard->clicks.begin(), heard->clicks.end(),
                                            [&](const Click& click) { return follows(click, flap); });
        EXPECT_TRUE(atStart || atRevive || afterClick) << "a flap without a click at " << seconds(flap) << " s";
    }
    EXPECT_EQ(heard->gameOutput, "");
}

TEST_F(ThroughASoundServer, EveryHitIsHeardAsTheSquawkThenTheDeathSound)
{
    ASSERT_FALSE(heard->squawks.empty()) << "the bird never died";
    for (const std::size_t squawk : heard->squawks)
    {
        const auto death = std::lower_bound(heard->deathSounds.begin(), heard->deathSounds.end(), squawk);
        ASSERT_NE(death, heard->deathSounds.end()) << "no death sound after the squawk at " << seconds(squawk) << " s";
        const double apart = secondsBetween(squawk, *death);
        std::cout << "death sound " << apart << " s after the squawk\n";
        EXPECT_GE(apart, deathSoundAfter - deathSoundEarlier);
        EXPECT_LE(apart, deathSoundAfter + deathSoundLater);
    }
}

// The desktop's sound server killed while the game plays, and a new one started on its socket 2 s later,
// as a restarted server is: the new one hears the game within 7 s of its start, and the game then
// closes as it always does.
TEST(AfterTheSoundServerRestarts, TheGameIsHeardAgainAndClosesCleanly)
{
    PrivateSoundServer server;
    std::optional<MonitorRecorder> recorder(std::in_place, server);
    const AssetCopy assets;
    GameRun run(assets, {{}, gameProgram(), server.clientEnvironment(), {}, {}, {}, {}});
    ASSERT_TRUE(run.waitForWindow() && waitFor([&] { return recorder->heardSound(); }, soundTimeout));
    // Clicks keep the bird in the air, and its tune playing, while the test listens.
    run.click();
    const auto keepFlying = [&](std::chrono::milliseconds time)
    {
        for (const auto end = std::chrono::steady_clock::now() + time; std::chrono::steady_clock::now() < end;)
        {
            letRun(clickInterval);
            run.xClient().click();
        }
    };
    keepFlying(tuneAlone);
    server.kill();
    keepFlying(restartAfter);
    server.start();
    const auto restarted = std::chrono::steady_clock::now();
    recorder.emplace(server);
    keepFlying(listenAfterRestart);
    const Recording heard = recorder->stop();
    run.requestClose();
    EXPECT_EQ(run.waitForExit(closeTimeout), ExitStatus::withCode(0)) << run.describe();
    EXPECT_EQ(run.output(), "");

    const std::optional<Span> span = soundSpan(heard);
    ASSERT_TRUE(span) << "the new server heard nothing; the game said: " << run.errors();
    const double heardAfter =
        std::chrono::duration<double>(*heard.frameZero - restarted).count() + heard.secondsOf(span->first);
    const double soundFor = heard.secondsOf(static_cast<std::size_t>(
        std::count_if(heard.left.begin(), heard.left.end(), [](float sample) { return sample != 0.f; })));
    std::cout << "heard again " << heardAfter << " s after the new server's start, for " << soundFor << " s\n";
    EXPECT_LE(heardAfter, heardAgainWithin) << run.errors();
    EXPECT_GE(soundFor, heardAgainFor);
}
