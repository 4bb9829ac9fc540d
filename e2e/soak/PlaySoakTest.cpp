// Minutes of scripted play of the real program, built with the address and undefined-behaviour
// sanitizers, in a real window: it must stay up, answer its keys, close with status 0, report no
// sanitizer error or leak, and its resident memory must not grow once it has run for a minute.
#include "support/GameRun.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

namespace
{
constexpr auto playTime = 185s;
constexpr auto settleTime = 60s;
constexpr auto sampleEvery = 5s;
constexpr unsigned scriptSeed = 77;
// Resident memory may wander by a few pages as caches settle, never by more.
constexpr long allowedGrowthKiB = 4 * 1024;
constexpr auto closeTimeout = 60s; // the leak check at exit takes a while

// The sanitizers report on standard error and make the process fail with a status of their own;
// freed memory is reused at once, so that the memory the program holds is what it really uses.
const std::vector<std::pair<std::string, std::string>> sanitizerSettings{
    {"ASAN_OPTIONS", "exitcode=86:detect_leaks=1:quarantine_size_mb=0:thread_local_quarantine_size_kb=0"},
    {"UBSAN_OPTIONS", "print_stacktrace=1:halt_on_error=1"},
};

long residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

struct Sample
{
    std::chrono::seconds at;
    long kib;
};

std::string describe(const std::vector<Sample>& samples)
{
    std::ostringstream text;
    for (const Sample& sample : samples)
        text << sample.at.count() << " s: " << sample.kib << " KiB\n";
    return text.str();
}

// A player who flaps most of the time, dives now and then, pauses, idles long enough to lose lives
// and whole games, and restarts.
class Script
{
public:
    explicit Script(GameRun& game) : run(game) {}

    void playOnce()
    {
        const int which = pick(0, 99);
        if (which < 55)
        {
            run.click();
            letRun(std::chrono::milliseconds(pick(120, 450)));
        }
        else if (which < 70)
        {
            run.holdRightButton();
            letRun(std::chrono::milliseconds(pick(150, 900)));
            run.releaseRightButton();
        }
        else if (which < 78)
        {
            run.pressKey("p");
            letRun(std::chrono::milliseconds(pick(200, 1'500)));
            run.pressKey("p");
        }
        else if (which < 82)
            run.pressKey("r");
        else if (which < 84)
            run.pressKeys({"p", "r", "p", "p"});
        else
            letRun(std::chrono::milliseconds(pick(500, 4'000)));
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    GameRun& run;
    std::mt19937 random{scriptSeed};
};

bool sanitizerSpoke(const std::string& errors)
{
    for (const char* mark : {"AddressSanitizer", "LeakSanitizer", "UndefinedBehaviorSanitizer", "runtime error:"})
        if (errors.find(mark) != std::string::npos)
            return true;
    return false;
}
} // namespace

TEST(PlaySoak, ThreeMinutesOfScriptedPlayLeaveNoSanitizerReportAndNoGrowingMemory)
{
    const AssetCopy assets;
    GameRun::Options options;
    options.environment = sanitizerSettings;
    GameRun run(assets, options);
    ASSERT_TRUE(run.waitForWindow()) << "no window; " << run.describe() << "\n" << run.errors();

    Script script(run);
    std::vector<Sample> samples;
    const auto start = std::chrono::steady_clock::now();
    auto nextSample = start;
    for (auto now = start; now - start < playTime; now = std::chrono::steady_clock::now())
    {
        ASSERT_TRUE(run.running()) << run.describe() << "\n" << run.errors();
        if (now >= nextSample)
        {
            samples.push_back({std::chrono::duration_cast<std::chrono::seconds>(now - start), residentKiB(run.pid())});
            nextSample += sampleEvery;
        }
        script.playOnce();
    }

    // Still answering: P holds the picture still.
    run.pressKey("p");
    EXPECT_TRUE(run.waitUntilFrozen()) << "P no longer pauses the game";

    run.requestClose();
    const std::optional<ExitStatus> status = run.waitForExit(closeTimeout);
    ASSERT_TRUE(status.has_value()) << "the game did not end when its window was closed";
    EXPECT_EQ(*status, ExitStatus::withCode(0)) << run.errors();
    EXPECT_FALSE(sanitizerSpoke(run.errors())) << run.errors();
    EXPECT_EQ(run.output(), "");

    // Memory after the first minute: never more than a little above what it was then.
    const auto settled =
        std::find_if(samples.begin(), samples.end(), [](const Sample& s) { return s.at >= settleTime; });
    ASSERT_NE(settled, samples.end());
    long highest = settled->kib;
    for (auto sample = settled; sample != samples.end(); ++sample)
        highest = std::max(highest, sample->kib);
    EXPECT_LE(highest - settled->kib, allowedGrowthKiB) << "resident memory grew:\n" << describe(samples);
    std::cout << "[ memory ] resident memory every " << sampleEvery.count() << " s:\n"
              << describe(samples) << std::flush;
}
