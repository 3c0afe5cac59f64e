#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "bench/stopwatch.h"

namespace tolvane::bench {

// One run of one side on fresh files in a folder under `root`; returns the
// time of its timed section only.
using TimedRun = std::function<Timing(const std::string& root)>;

struct Comparison {
    // One per round each.
    std::vector<Timing> engine;
    std::vector<Timing> fullPaths;  // renameat2 on full paths
    std::vector<Timing> floor;      // renameat2 by name inside the folder
};

// Runs the engine and both raw loops `rounds` times under `root`, rotating
// which goes first every round so that none always inherits another's
// leftovers (cache, journal). `watchEnds` as for TimeRawLoop: for an engine
// side that watches the first and last file itself.
Comparison RunRotating(int rounds, const std::string& root, const TimedRun& engine,
                       const std::vector<std::string>& from, const std::vector<std::string>& to,
                       bool watchEnds = false);

// The engine (or whatever `side` names) against the floor and against the
// full-path loop: medians of wall time, then the fastest rounds, the CPU
// time and every round.
void PrintComparison(std::string_view label, const Comparison& comparison,
                     std::string_view side = "engine");

// The median of the values.
double Median(std::vector<double> values);

// The round count from the first argument, or `fallback` without one.
int RoundsFromArguments(int argc, char** argv, int fallback);

// main() of a benchmark: runs `run` with the rounds asked for (`rounds`
// unless given) in each folder named after them (BenchRoots), and prints a
// failure under the program's name.
int RunBenchmark(const char* name, int argc, char** argv,
                 int (*run)(int rounds, const std::string& root), int defaultRounds = 7);

}  // namespace tolvane::bench
