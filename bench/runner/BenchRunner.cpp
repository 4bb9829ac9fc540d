// Runs every Flitmere benchmark beside its floor and prints one table. Each measured program runs in
// its own process in the asset folder; a game run and its floor run follow each other, in turns of
// order, so that each ratio is taken from one pair run under the same conditions.
//
//   flitmere_bench [--quick] [--long] [--repetitions N] [--assets DIR] [--log FILE]
//
// The assets come from --assets, else FLITMERE_BENCH_ASSETS, else the build's asset folder.
// --quick runs fewer and shorter repetitions (a smoke run, not figures to keep); --long draws 100,000
// frames for the memory figures instead of 10,000 (about ten minutes more under Xvfb).
#include "ProcessStats.hpp"
#include "Statistics.hpp"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace
{
// Targets.
constexpr double frameLogicTargetNs = 1000.0;
constexpr double frameRatioTarget = 1.10;
constexpr double startupRatioTarget = 1.20;

struct Options
{
    int repetitions = 5;
    int startupRepetitions = 9;
    int updateMinTimeMs = 300;
    int warmupFrames = 200;
    int measuredFrames = 1'000;
    int memoryDrawnFrames = 10'000;
    int memoryUndrawnFrames = 100'000;
    std::string assets = FLITMERE_BENCH_ASSET_DIR;
    std::string log = "/dev/null";
};

// Every value each "result" line gave, by name: a program may report one name many times.
using Results = std::map<std::string, std::vector<double>>;

// Runs one program in the asset folder and returns its "result" lines; everything else it prints
// goes to the log. The monotonic clock is read in the child just before it becomes the program.
Results run(const Options& options, const std::vector<std::string>& arguments)
{
    int output[2];
    if (pipe(output) != 0)
    {
        std::perror("flitmere_bench: pipe");
        std::exit(EXIT_FAILURE);
    }
    const pid_t child = fork();
    if (child == 0)
    {
        if (chdir(options.assets.c_str()) != 0)
            _exit(126);
        dup2(output[1], STDOUT_FILENO);
        const int log = open(options.log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (log >= 0)
            dup2(log, STDERR_FILENO);
        close(output[0]);
        close(output[1]);
        std::vector<char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        setenv(process::execTimeVariable, std::to_string(process::monotonicNanoseconds()).c_str(), 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(output[1]);
    std::string text;
    char chunk[4096];
    ssize_t count = 0;
    while ((count = read(output[0], chunk, sizeof chunk)) > 0)
        text.append(chunk, static_cast<std::size_t>(count));
    close(output[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    {
        std::fprintf(stderr, "flitmere_bench: %s failed (status %d); see %s\n", arguments[0].c_str(), status,
                     options.log.c_str());
        std::exit(EXIT_FAILURE);
    }

    Results results;
    std::ofstream log(options.log, std::ios::app);
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
    {
        std::istringstream words(line);
        std::string tag;
        std::string name;
        double value = 0.0;
        if (words >> tag >> name >> value && tag == "result")
            results[name].push_back(value);
        else
            log << line << '\n';
    }
    return results;
}

// One figure of many runs of one program.
std::vector<double> column(const std::vector<Results>& runs, const std::string& name)
{
    std::vector<double> values;
    for (const Results& results : runs)
    {
        if (const auto found = results.find(name); found != results.end())
            values.insert(values.end(), found->second.begin(), found->second.end());
    }
    return values;
}

void progress(const std::string& what)
{
    std::fprintf(stderr, "  %s\n", what.c_str());
}

struct Pairs
{
    std::vector<Results> game;
    std::vector<Results> floor;
};

// Runs the game and the floor `repetitions` times each, one right after the other, the game first
// in even turns and the floor first in odd ones.
Pairs runPairs(const Options& options, int repetitions, const std::vector<std::string>& gameArguments,
               const std::vector<std::string>& floorArguments, const std::string& what)
{
    Pairs pairs;
    for (int turn = 0; turn < repetitions; ++turn)
    {
        progress(what + " " + std::to_string(turn + 1) + "/" + std::to_string(repetitions));
        if (turn % 2 == 0)
        {
            pairs.game.push_back(run(options, gameArguments));
            pairs.floor.push_back(run(options, floorArguments));
        }
        else
        {
            pairs.floor.push_back(run(options, floorArguments));
            pairs.game.push_back(run(options, gameArguments));
        }
    }
    return pairs;
}

std::string capture(const std::string& command)
{
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r"))
    {
        char chunk[512];
        while (std::fgets(chunk, sizeof chunk, pipe) != nullptr)
            text += chunk;
        pclose(pipe);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

std::string cpuModel()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line))
    {
        if (line.rfind("model name", 0) == 0)
            return line.substr(line.find(':') + 2);
    }
    return "unknown CPU";
}

// --- The table -----------------------------------------------------------------------------------

std::string format(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// "median (min-max)", or the value alone when there was one measurement.
std::string cell(const Summary& summary, int decimals)
{
    if (summary.count == 0)
        return "-";
    if (summary.count == 1 || summary.min == summary.max)
        return format(summary.median, decimals);
    return format(summary.median, decimals) + " (" + format(summary.min, decimals) + "-" +
           format(summary.max, decimals) + ")";
}

void row(const std::string& measure, const std::string& game, const std::string& floor, const std::string& ratio,
         const std::string& target)
{
    std::printf("%-42s %-22s %-22s %-20s %s\n", measure.c_str(), game.c_str(), floor.c_str(), ratio.c_str(),
                target.c_str());
}

std::string verdict(bool met)
{
    return met ? "met" : "NOT MET";
}

std::string mib(double kib)
{
    return format(kib / 1024.0, 1);
}

Options parse(int argc, char** argv)
{
    Options options;
    if (const char* assets = std::getenv("FLITMERE_BENCH_ASSETS"))
        options.assets = assets;
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
        }
        else if (argument == "--long")
            options.memoryDrawnFrames = 100'000;
        else if (argument == "--repetitions" && hasValue)
            options.repetitions = options.startupRepetitions = std::max(1, std::atoi(argv[++i]));
        else if (argument == "--assets" && hasValue)
            options.assets = argv[++i];
        else if (argument == "--log" && hasValue)
            options.log = argv[++i];
        else
        {
            std::fprintf(stderr,
                         "usage: flitmere_bench [--quick] [--long] [--repetitions N] [--assets DIR] [--log FILE]\n");
            std::exit(2);
        }
    }
    if (access((options.assets + "/wingUp2.bmp").c_str(), R_OK) != 0)
    {
        std::fprintf(stderr, "flitmere_bench: no game assets in %s (build the assets target, or pass --assets)\n",
                     options.assets.c_str());
        std::exit(EXIT_FAILURE);
    }
    return options;
}
} // namespace

int main(int argc, char** argv)
{
    const Options options = parse(argc, argv);
    const std::string game = FLITMERE_BENCH_GAME_RUN;
    const std::string floor = FLITMERE_BENCH_FLOOR_RUN;
    const std::string warmup = std::to_string(options.warmupFrames);
    const std::string frames = std::to_string(options.measuredFrames);

    std::fprintf(stderr, "flitmere_bench: measuring; the programs' own output goes to %s\n", options.log.c_str());
    progress("frame logic, Google Benchmark, " + std::to_string(options.repetitions) + " repetitions");
    const Results logic =
        run(options, {FLITMERE_BENCH_UPDATE, "--benchmark_repetitions=" + std::to_string(options.repetitions),
                      "--benchmark_enable_random_interleaving=true",
                      "--benchmark_min_time=" + format(options.updateMinTimeMs / 1e3, 3), "--benchmark_color=false"});
    const Pairs startup =
        runPairs(options, options.startupRepetitions, {game, "first-frame"}, {floor, "first-frame"}, "start-up");
    const Pairs drawn = runPairs(options, options.repetitions, {game, "frames", warmup, frames},
                                 {floor, "frames", warmup, frames}, "drawn frames");
    const std::string memoryFrames = std::to_string(options.memoryDrawnFrames - options.warmupFrames);
    const Pairs memory = runPairs(options, 1, {game, "frames", warmup, memoryFrames},
                                  {floor, "frames", warmup, memoryFrames}, "memory, drawn");
    progress("memory, frame logic undrawn");
    const Results undrawn =
        run(options, {game, "undrawn", warmup, std::to_string(options.memoryUndrawnFrames - options.warmupFrames)});

    const auto of = [](const Results& results, const std::string& name) { return summarize(column({results}, name)); };
    const auto each = [](const std::vector<Results>& runs, const std::string& name)
    { return summarize(column(runs, name)); };
    const auto paired = [](const Pairs& pairs, const std::string& name)
    { return summarize(ratios(column(pairs.game, name), column(pairs.floor, name))); };
    const auto growth = [&](const std::vector<Results>& runs, const std::string& atEnd, const std::string& atCheck)
    { return summarize({each(runs, atEnd).median - each(runs, atCheck).median}); };

    // --- Header: the machine the figures come from.
    const std::string display = std::getenv("FLITMERE_BENCH_XVFB") != nullptr
                                    ? "Xvfb " + capture("dpkg-query -W -f='${Version}' xvfb 2>/dev/null")
                                    : std::string("the session's display");
    std::printf(
        "\nFlitmere benchmarks: %u cores, %s; %s; %s; Mesa %s\n", std::thread::hardware_concurrency(),
        cpuModel().c_str(), display.c_str(),
        capture("cd '" + options.assets + "' && '" + floor + "' renderer 2>/dev/null | sed -n 's/^info renderer //p'")
            .c_str(),
        capture("dpkg-query -W -f='${Version}' libgl1-mesa-dri 2>/dev/null").c_str());
    std::printf(
        "median (min-max) of %d runs (start-up: %d); each ratio is one game run over the floor run beside it\n\n",
        options.repetitions, options.startupRepetitions);
    row("measure", "game", "floor", "game/floor", "target");

    // Frame logic: the update step and all that the frame does besides drawing.
    const Summary frameLogic = of(logic, "frameLogic_ns");
    const Summary hud = of(logic, "hudRefresh_ns");
    const Summary pilot = of(logic, "pilotAlone_ns");
    const Summary spriteMoves = of(logic, "floorSpriteMoves_ns");
    const double updateStep = frameLogic.median - hud.median - pilot.median;
    row("frame logic undrawn, ns/update", cell(frameLogic, 0), cell(spriteMoves, 1) + " moves", "",
        "< 1000 ns: " + verdict(frameLogic.median < frameLogicTargetNs));
    row("  of which HUD string and setString, ns", cell(hud, 0), "", "", "");
    row("  of which update step and decision, ns", format(updateStep, 0), "", "",
        "(less pilot " + format(pilot.median, 0) + " ns)");

    const Summary frameRatio = paired(drawn, "cpu_ms_per_frame");
    row("frame, CPU ms/frame (all threads)", cell(each(drawn.game, "cpu_ms_per_frame"), 2),
        cell(each(drawn.floor, "cpu_ms_per_frame"), 2), cell(frameRatio, 3),
        "<= 1.10: " + verdict(frameRatio.median <= frameRatioTarget));
    row("frame, wall ms/frame", cell(each(drawn.game, "wall_ms_per_frame"), 2),
        cell(each(drawn.floor, "wall_ms_per_frame"), 2), cell(paired(drawn, "wall_ms_per_frame"), 3), "");

    const Summary startupRatio = paired(startup, "startup_ms");
    row("start-up to first frame, ms", cell(each(startup.game, "startup_ms"), 0),
        cell(each(startup.floor, "startup_ms"), 0), cell(startupRatio, 3),
        "<= 1.20: " + verdict(startupRatio.median <= startupRatioTarget));

    const std::string drawnCount = std::to_string(options.memoryDrawnFrames);
    const std::string undrawnCount = std::to_string(options.memoryUndrawnFrames);
    row("peak resident, MiB", mib(each(memory.game, "peak_resident_kib").median),
        mib(each(memory.floor, "peak_resident_kib").median), "", "");
    row("resident after 1000 drawn frames, MiB", mib(each(memory.game, "resident_kib_at_1000").median),
        mib(each(memory.floor, "resident_kib_at_1000").median), "", "");
    row("  growth to frame " + drawnCount + ", KiB",
        cell(growth(memory.game, "resident_kib_at_end", "resident_kib_at_1000"), 0),
        cell(growth(memory.floor, "resident_kib_at_end", "resident_kib_at_1000"), 0), "", "");
    const Summary heapGrowthDrawn = growth(memory.game, "heap_kib_at_end", "heap_kib_at_1000");
    row("  heap in use, growth, KiB", cell(heapGrowthDrawn, 0),
        cell(growth(memory.floor, "heap_kib_at_end", "heap_kib_at_1000"), 0), "",
        "0: " + verdict(heapGrowthDrawn.median <= 0));
    row("resident after 1000 undrawn frames, MiB", mib(of(undrawn, "resident_kib_at_1000").median), "", "", "");
    row("  growth to frame " + undrawnCount + ", KiB",
        cell(summarize({of(undrawn, "resident_kib_at_end").median - of(undrawn, "resident_kib_at_1000").median}), 0),
        "", "", "");
    const Summary heapGrowthUndrawn =
        summarize({of(undrawn, "heap_kib_at_end").median - of(undrawn, "heap_kib_at_1000").median});
    row("  heap in use, growth, KiB", cell(heapGrowthUndrawn, 0), "", "",
        "0: " + verdict(heapGrowthUndrawn.median <= 0));

    row("allocations per frame, drawn", cell(each(drawn.game, "allocations_per_frame"), 2),
        cell(each(drawn.floor, "allocations_per_frame"), 2), "", "report");
    row("  input / logic / drawing / display",
        format(each(drawn.game, "allocations_input").median, 2) + " / " +
            format(each(drawn.game, "allocations_logic").median, 2) + " / " +
            format(each(drawn.game, "allocations_drawing").median, 2) + " / " +
            format(each(drawn.game, "allocations_display").median, 2),
        "", "", "");
    row("  one HUD refresh: string / setString",
        format(of(undrawn, "allocations_hud_string").median, 0) + " / " +
            format(of(undrawn, "allocations_hud_refresh").median - of(undrawn, "allocations_hud_string").median, 0),
        "", "", "");
    row("pilot: share of frames in play, drawn", format(each(drawn.game, "play_fraction").median, 3), "", "",
        "best score " + format(each(drawn.game, "best_score").max, 0));
    return EXIT_SUCCESS;
}
