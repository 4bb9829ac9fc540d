#include "Report.hpp"

#include "Statistics.hpp"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace
{
// Targets.
constexpr double frameLogicTargetNs = 1000.0;
constexpr double frameRatioTarget = 0.85;
constexpr double startupRatioTarget = 1.05;
constexpr double pacedRatioTarget = 0.85;
// The resident size moves by whole pages, and a few of them come and go with the allocator's and the
// driver's housekeeping: growth within this much of the floor's, or of none, counts as none.
constexpr double residentNoiseKiB = 64.0;

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

// The median of one figure over runs.
double median(const std::vector<Results>& runs, const std::string& name)
{
    return summarize(column(runs, name)).median;
}

Summary spread(const std::vector<Results>& runs, const std::string& name)
{
    return summarize(column(runs, name));
}

Summary pairedRatio(const Pairs& pairs, const std::string& name)
{
    return summarize(ratios(column(pairs.game, name), column(pairs.floor, name)));
}

void printHeader(const Measurements& measured, const RunSettings& settings)
{
    const std::string display = std::getenv("FLITMERE_BENCH_XVFB") != nullptr
                                    ? "Xvfb " + capture("dpkg-query -W -f='${Version}' xvfb 2>/dev/null")
                                    : std::string("the session's own display");
    const std::string renderer =
        capture("cd '" + settings.assets +
                "' && '" FLITMERE_BENCH_FLOOR_RUN "' renderer 2>/dev/null | sed -n 's/^info renderer //p'");
    std::printf("\nFlitmere benchmarks: %u cores, %s; %s; %s; Mesa %s\n", std::thread::hardware_concurrency(),
                cpuModel().c_str(), display.c_str(), renderer.c_str(),
                capture("dpkg-query -W -f='${Version}' libgl1-mesa-dri 2>/dev/null").c_str());
    std::printf("load average %s before, %s after; median (min-max) of %d runs, start-up of %d, paced play of %d; "
                "each ratio is one game run over the floor run beside it\n\n",
                measured.loadBefore.c_str(), measured.loadAfter.c_str(), measured.repetitions,
                measured.startupRepetitions, measured.pacedRepetitions);
    row("measure", "game", "floor", "game/floor", "target");
}

void printFrameLogic(const Results& logic)
{
    const Summary frameLogic = summarize(column({logic}, "frameLogic_ns"));
    const Summary hud = summarize(column({logic}, "hudRefresh_ns"));
    const double pilot = summarize(column({logic}, "pilotAlone_ns")).median;
    row("frame logic undrawn, ns/update", cell(frameLogic, 0),
        cell(summarize(column({logic}, "floorSpriteMoves_ns")), 1) + " moves", "",
        "< 1000 ns: " + verdict(frameLogic.median < frameLogicTargetNs));
    row("  of which HUD refresh, ns", cell(hud, 0), "", "", "");
    row("  of which tune, update step, decision, ns", format(frameLogic.median - hud.median - pilot, 0), "", "",
        "(pilot's " + format(pilot, 0) + " ns taken off)");
}

void printFrame(const Pairs& drawn)
{
    const Summary ratio = pairedRatio(drawn, "cpu_ms_per_frame");
    row("frame, CPU ms/frame (all threads)", cell(spread(drawn.game, "cpu_ms_per_frame"), 2),
        cell(spread(drawn.floor, "cpu_ms_per_frame"), 2), cell(ratio, 3),
        "<= 0.85: " + verdict(ratio.median <= frameRatioTarget));
    row("frame, wall ms/frame", cell(spread(drawn.game, "wall_ms_per_frame"), 2),
        cell(spread(drawn.floor, "wall_ms_per_frame"), 2), cell(pairedRatio(drawn, "wall_ms_per_frame"), 3), "");
}

void printPacedAt200Percent(const std::vector<Results>& runs)
{
    const std::string size = format(spread(runs, "window_width").median, 0) + " px wide, no target";
    row("paced play at 200%, CPU s per s", cell(spread(runs, "cpu_s_per_s"), 3), "", "", size);
    row("paced play at 200%, frames per s", cell(spread(runs, "frames_per_s"), 2), "", "", "");
    row("paced play at 200%, CPU ms per frame shown", cell(spread(runs, "cpu_ms_per_frame_shown"), 2), "", "", "");
}

void printPaced(const Pairs& paced)
{
    const Summary ratio = pairedRatio(paced, "cpu_s_per_s");
    row("paced play, CPU s per s (all threads)", cell(spread(paced.game, "cpu_s_per_s"), 3),
        cell(spread(paced.floor, "cpu_s_per_s"), 3), cell(ratio, 3),
        "<= 0.85: " + verdict(ratio.median <= pacedRatioTarget));
    row("paced play, frames per s", cell(spread(paced.game, "frames_per_s"), 2),
        cell(spread(paced.floor, "frames_per_s"), 2), "", "");
    row("paced play, CPU ms per frame shown", cell(spread(paced.game, "cpu_ms_per_frame_shown"), 2),
        cell(spread(paced.floor, "cpu_ms_per_frame_shown"), 2), cell(pairedRatio(paced, "cpu_ms_per_frame_shown"), 3),
        "");
}

void printStartup(const Pairs& startup)
{
    const Summary ratio = pairedRatio(startup, "startup_ms");
    row("start-up to first frame, ms", cell(spread(startup.game, "startup_ms"), 0),
        cell(spread(startup.floor, "startup_ms"), 0), cell(ratio, 3),
        "<= 1.05: " + verdict(ratio.median <= startupRatioTarget));
}

// Resident size at frame 1,000, half way and at the end, in MiB.
std::string residentPath(const std::vector<Results>& runs)
{
    return mib(median(runs, "resident_kib_at_1000")) + " " + mib(median(runs, "resident_kib_at_half")) + " " +
           mib(median(runs, "resident_kib_at_end"));
}

// Growth of the resident size or of the heap in use ("resident" or "heap"), in KiB: after frame
// 1,000 in all, and over the second half of the run alone.
struct Growth
{
    double afterCheck;
    double secondHalf;
};

Growth growth(const std::vector<Results>& runs, const std::string& what)
{
    const double atCheck = median(runs, what + "_kib_at_1000");
    const double atHalf = median(runs, what + "_kib_at_half");
    const double atEnd = median(runs, what + "_kib_at_end");
    return {atEnd - atCheck, atEnd - atHalf};
}

std::string cell(const Growth& growth)
{
    return format(growth.afterCheck, 0) + " / " + format(growth.secondHalf, 0);
}

std::string checkpoints(int frames, const std::string& kind)
{
    return "resident at 1000 / " + std::to_string(frames / 2) + " / " + std::to_string(frames) + " " + kind;
}

void printMemory(const Measurements& measured)
{
    const std::vector<Results>& game = measured.memory.game;
    const std::vector<Results>& floor = measured.memory.floor;
    const std::vector<Results> undrawn{measured.undrawn};

    row("peak resident, MiB", mib(median(game, "peak_resident_kib")), mib(median(floor, "peak_resident_kib")), "", "");
    // Drawn: the driver and the X connection grow by themselves, so the game is held to its floor.
    row(checkpoints(measured.memoryDrawnFrames, "drawn"), residentPath(game), residentPath(floor), "", "");
    const Growth gameGrowth = growth(game, "resident");
    const Growth floorGrowth = growth(floor, "resident");
    const double beyondFloor = gameGrowth.afterCheck - floorGrowth.afterCheck;
    const bool drawnMet =
        beyondFloor <= residentNoiseKiB && gameGrowth.secondHalf - floorGrowth.secondHalf <= residentNoiseKiB;
    row("  growth after 1000 / in 2nd half, KiB", cell(gameGrowth), cell(floorGrowth),
        format(beyondFloor, 0) + " KiB more", "floor's: " + verdict(drawnMet));
    row("  heap growth after 1000 / 2nd half, KiB", cell(growth(game, "heap")), cell(growth(floor, "heap")), "", "");
    // Undrawn: nothing but the game, which must settle: a longer score may take a few bytes more once.
    row(checkpoints(measured.memoryUndrawnFrames, "undrawn"), residentPath(undrawn), "", "", "");
    const Growth undrawnGrowth = growth(undrawn, "resident");
    const Growth heapGrowth = growth(undrawn, "heap");
    const bool undrawnMet =
        undrawnGrowth.afterCheck <= residentNoiseKiB && undrawnGrowth.secondHalf <= 0 && heapGrowth.secondHalf <= 0;
    row("  growth after 1000 / in 2nd half, KiB", cell(undrawnGrowth), "", "", "none: " + verdict(undrawnMet));
    row("  heap growth after 1000 / 2nd half, KiB", cell(heapGrowth), "", "", "");
}

void printAllocations(const Measurements& measured)
{
    const std::vector<Results>& game = measured.drawn.game;
    const std::vector<Results> undrawn{measured.undrawn};
    row("allocations per frame, drawn", cell(spread(game, "allocations_per_frame"), 2),
        cell(spread(measured.drawn.floor, "allocations_per_frame"), 2), "", "counted, no target");
    row("  input / logic / drawing / display",
        format(median(game, "allocations_input"), 2) + " / " + format(median(game, "allocations_logic"), 2) + " / " +
            format(median(game, "allocations_drawing"), 2) + " / " + format(median(game, "allocations_display"), 2),
        "", "", "");
    row("  HUD refresh, score unchanged", format(median(undrawn, "allocations_hud_refresh"), 2), "", "", "");
    row("allocations per frame, undrawn", format(median(undrawn, "allocations_per_frame"), 2), "", "", "");
    row("pilot: frames in play, best score",
        format(median(game, "play_fraction"), 3) + ", " + format(summarize(column(game, "best_score")).max, 0), "", "",
        "");
}
} // namespace

std::string loadAverage()
{
    std::ifstream loadavg("/proc/loadavg");
    std::string lastMinute;
    loadavg >> lastMinute;
    return lastMinute;
}

void printReport(const Measurements& measured, const RunSettings& settings)
{
    printHeader(measured, settings);
    printFrameLogic(measured.logic);
    printFrame(measured.drawn);
    printPaced(measured.paced);
    printPacedAt200Percent(measured.pacedAt200Percent);
    printStartup(measured.startup);
    printMemory(measured);
    printAllocations(measured);
}
