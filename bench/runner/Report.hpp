#pragma once

#include "Runs.hpp"

#include <string>

// Everything one run of the runner measured.
struct Measurements
{
    Results logic; // the frame logic, Google Benchmark's repetitions
    Pairs startup; // first displayed frame
    Pairs drawn;   // drawn frames, timed
    Pairs paced;   // seconds of play at the pacer's pace
    // The game alone at a desktop's 200% (GDK_SCALE=2): four times the pixels, no floor, no target.
    std::vector<Results> pacedAt200Percent;
    Pairs memory;    // one long drawn run of each
    Results undrawn; // the frame logic over many frames, for memory and allocations
    int repetitions = 0;
    int startupRepetitions = 0;
    int pacedRepetitions = 0;
    int memoryDrawnFrames = 0;
    int memoryUndrawnFrames = 0;
    // Other work on the machine shows here: a load above the core count makes every figure noisier.
    std::string loadBefore;
    std::string loadAfter;
};

// The machine's load average over the last minute, as /proc/loadavg gives it.
[[nodiscard]] std::string loadAverage();

// Prints the table: the machine, then each figure beside its floor and its target.
void printReport(const Measurements& measured, const RunSettings& settings);
