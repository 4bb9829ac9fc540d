// The soak's leak check, with the project's own suppressions, must fail on a leak of the game's own
// code, and only on that: a GL driver's one-time allocation, which looks leaked once the driver is
// unloaded, must not fail it while the driver is kept loaded. A stand-in driver shows both, the same
// on every machine.
#include "support/AssetCopy.hpp"
#include "support/ChildProcess.hpp"

#include <gtest/gtest.h>

namespace
{
constexpr int leakFound = 86;
constexpr auto probeTimeout = std::chrono::seconds(60);

struct ProbeRun
{
    ExitStatus status;
    std::string errors;
};

ProbeRun runProbe(const std::string& mode)
{
    const TempFolder folder("flitmere-leak-probe");
    Launch launch;
    launch.program = FLITMERE_LEAK_PROBE;
    launch.arguments = {mode};
    // The project's own suppressions; every stack unwound in full, so that none is judged on part of it.
    launch.environment = {
        {"ASAN_OPTIONS", "exitcode=" + std::to_string(leakFound) + ":detect_leaks=1:fast_unwind_on_malloc=0"},
        {"LSAN_OPTIONS", "suppressions=" FLITMERE_LEAK_SUPPRESSIONS}};
    launch.standardError = folder.path() / "errors";
    const ExitStatus status = runToEnd(launch, probeTimeout);
    return {status, readFile(launch.standardError)};
}
} // namespace

TEST(LeakCheck, AnUnloadedDriversOneTimeBlockIsReportedUnlessTheDriverIsKeptLoaded)
{
    const ProbeRun unpinned = runProbe("unpinned");
    EXPECT_EQ(unpinned.status, ExitStatus::withCode(leakFound)) << unpinned.errors;
    EXPECT_NE(unpinned.errors.find("LeakSanitizer"), std::string::npos) << unpinned.errors;

    const ProbeRun pinned = runProbe("pinned");
    EXPECT_EQ(pinned.status, ExitStatus::withCode(0)) << pinned.errors;
}

TEST(LeakCheck, ALeakOfTheGamesOwnCodeIsReportedWhileTheDriverIsKeptLoaded)
{
    const ProbeRun leaking = runProbe("pinned-and-leaking");
    EXPECT_EQ(leaking.status, ExitStatus::withCode(leakFound)) << leaking.errors;
    EXPECT_NE(leaking.errors.find("hudString"), std::string::npos) << leaking.errors;
}
