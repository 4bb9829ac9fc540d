// Runs every Flitmere benchmark beside its floor and prints one table. Each measured program runs in
// its own process in the asset folder; a game run and its floor run follow each other, in turns of
// order, so that each ratio is taken from one pair run under the same conditions.
//
//   flitmere_bench [--quick] [--long] [--repetitions N] [--assets DIR] [--log FILE]
//
// The assets come from --assets, else FLITMERE_BENCH_ASSETS, else the build's asset folder.
// --quick runs fewer and shorter repetitions (a smoke run, not figures to keep); --long draws 100,000
// frames for the memory figures instead of 10,000 (about ten minutes more under Xvfb).
#include "Report.hpp"
#include "Runs.hpp"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
struct Options
{
    int repetitions = 5;
    int startupRepetitions = 9;
    int updateMinTimeMs = 300;
    int warmupFrames = 200;
    int measuredFrames = 1'000;
    int memoryDrawnFrames = 10'000;
    int memoryUndrawnFrames = 100'000;
    // Paced play runs in real time: a few runs of some seconds each.
    int pacedRepetitions = 3;
    double pacedWarmupSeconds = 2.0;
    double pacedSeconds = 8.0;
    RunSettings settings{FLITMERE_BENCH_ASSET_DIR, "/dev/null"};
};

Options parse(int argc, char** argv)
{
    Options options;
    if (const char* assets = std::getenv("FLITMERE_BENCH_ASSETS"))
        options.settings.assets = assets;
    for (int i = 1; i < argc; ++i)
    {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--quick")
        {
            options.repetitions = 2;
            options.startupRepetitions = 3;
            options.updateMinTimeMs = 50;
            options.warmupFrames = 50;
            options.measuredFrames = 200;
            options.memoryDrawnFrames = 1'500;
            options.memoryUndrawnFrames = 10'000;
            options.pacedRepetitions = 1;
            options.pacedWarmupSeconds = 1.0;
            options.pacedSeconds = 3.0;
        }
        else if (argument == "--long")
            options.memoryDrawnFrames = 100'000;
        else if (argument == "--repetitions" && hasValue)
            options.repetitions = options.startupRepetitions = std::max(1, std::atoi(argv[++i]));
        else if (argument == "--assets" && hasValue)
            options.settings.assets = argv[++i];
        else if (argument == "--log" && hasValue)
            options.settings.log = argv[++i];
        else
        {
            std::fprintf(stderr,
                         "usage: flitmere_bench [--quick] [--long] [--repetitions N] [--assets DIR] [--log FILE]\n");
            std::exit(2);
        }
    }
    if (access((options.settings.assets + "/wingUp2.bmp").c_str(), R_OK) != 0)
    {
        std::fprintf(stderr, "flitmere_bench: no game assets in %s (build the assets target, or pass --assets)\n",
                     options.settings.assets.c_str());
        std::exit(EXIT_FAILURE);
    }
    return options;
}

Measurements measure(const Options& options)
{
    const std::string game = FLITMERE_BENCH_GAME_RUN;
    const std::string floor = FLITMERE_BENCH_FLOOR_RUN;
    const std::string warmup = std::to_string(options.warmupFrames);
    const std::string frames = std::to_string(options.measuredFrames);
    const std::string memoryFrames = std::to_string(options.memoryDrawnFrames - options.warmupFrames);
    const std::string undrawnFrames = std::to_string(options.memoryUndrawnFrames - options.warmupFrames);

    std::fprintf(stderr, "flitmere_bench: measuring; the programs' own output goes to %s\n",
                 options.settings.log.c_str());
    Measurements measured;
    measured.repetitions = options.repetitions;
    measured.startupRepetitions = options.startupRepetitions;
    measured.pacedRepetitions = options.pacedRepetitions;
    measured.memoryDrawnFrames = options.memoryDrawnFrames;
    measured.memoryUndrawnFrames = options.memoryUndrawnFrames;
    measured.loadBefore = loadAverage();
    progress("frame logic, Google Benchmark, " + std::to_string(options.repetitions) + " repetitions");
    measured.logic =
        run(options.settings,
            {FLITMERE_BENCH_UPDATE, "--benchmark_repetitions=" + std::to_string(options.repetitions),
             "--benchmark_enable_random_interleaving=true",
             "--benchmark_min_time=" + std::to_string(options.updateMinTimeMs / 1e3), "--benchmark_color=false"});
    measured.startup = runPairs(options.settings, options.startupRepetitions, {game, "first-frame"},
                                {floor, "first-frame"}, "start-up");
    measured.drawn = runPairs(options.settings, options.repetitions, {game, "frames", warmup, frames},
                              {floor, "frames", warmup, frames}, "drawn frames");
    const std::string pacedWarmup = std::to_string(options.pacedWarmupSeconds);
    const std::string pacedFor = std::to_string(options.pacedSeconds);
    measured.paced = runPairs(options.settings, options.pacedRepetitions, {game, "paced", pacedWarmup, pacedFor},
                              {floor, "paced", pacedWarmup, pacedFor}, "paced play");
    progress("paced play at 200%");
    setenv("GDK_SCALE", "2", 1);
    for (int i = 0; i < options.pacedRepetitions; ++i)
        measured.pacedAt200Percent.push_back(run(options.settings, {game, "paced", pacedWarmup, pacedFor}));
    unsetenv("GDK_SCALE");
    measured.memory = runPairs(options.settings, 1, {game, "frames", warmup, memoryFrames},
                               {floor, "frames", warmup, memoryFrames}, "memory, drawn");
    progress("memory, undrawn");
    measured.undrawn = run(options.settings, {game, "undrawn", warmup, undrawnFrames});
    measured.loadAfter = loadAverage();
    return measured;
}
} // namespace

int main(int argc, char** argv)
{
    const Options options = parse(argc, argv);
    printReport(measure(options), options.settings);
    return EXIT_SUCCESS;
}
