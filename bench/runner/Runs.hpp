#pragma once

#include <map>
#include <string>
#include <vector>

// Running the measured programs, each in its own process, and collecting what they report.

// Every value each "result <name> <value>" line gave, by name: a program may report one name many times.
using Results = std::map<std::string, std::vector<double>>;

struct RunSettings
{
    std::string assets; // the working directory of every program
    std::string log;    // where their other output goes
};

// Runs one program (its path, then its arguments) and returns its results; ends the runner with a
// message if the program fails.
[[nodiscard]] Results run(const RunSettings& settings, const std::vector<std::string>& arguments);

// One figure of many runs of one program.
[[nodiscard]] std::vector<double> column(const std::vector<Results>& runs, const std::string& name);

// The runs of the game and of its floor, in the order they were made: game[i] and floor[i] ran
// one right after the other.
struct Pairs
{
    std::vector<Results> game;
    std::vector<Results> floor;
};

[[nodiscard]] Pairs runPairs(const RunSettings& settings, int repetitions,
                             const std::vector<std::string>& gameArguments,
                             const std::vector<std::string>& floorArguments, const std::string& what);

// A progress line on standard error.
void progress(const std::string& what);

// A shell command's output, without its trailing newline.
[[nodiscard]] std::string capture(const std::string& command);
