#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "bench/stopwatch.h"

namespace tolvane::bench {

// One run of one side on fresh files; returns the time of its timed section
// only.
using TimedRun = std::function<Timing()>;

struct Comparison {
    std::vector<Timing> engine;  // one per round
    std::vector<Timing> raw;
};

// Runs both sides `rounds` times, switching which goes first every round so
// that neither always inherits the other's leftovers (cache, journal).
Comparison RunAlternating(int rounds, const TimedRun& engine, const TimedRun& raw);

// "<label>: engine 123.4 ms, raw renameat2 118.2 ms, ratio 1.04" (medians of
// wall time), then the fastest rounds, the CPU time and every round.
void PrintComparison(std::string_view label, const Comparison& comparison);

// The round count from the first argument, or `fallback` without one.
int RoundsFromArguments(int argc, char** argv, int fallback);

// main() of a benchmark: runs `run` with the rounds asked for (7 unless
// given) and prints a failure under the program's name.
int RunBenchmark(const char* name, int argc, char** argv, int (*run)(int rounds));

}  // namespace tolvane::bench
