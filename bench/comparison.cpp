#include "bench/comparison.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>

#include "bench/bench_dir.h"
#include "bench/raw_rename.h"

namespace tolvane::bench {

namespace {

double MedianOf(const std::vector<Timing>& timings, double Timing::*field) {
    std::vector<double> values;
    for (const Timing& timing : timings) values.push_back(timing.*field);
    return Median(std::move(values));
}

double Fastest(const std::vector<Timing>& timings) {
    double fastest = timings.front().wallMs;
    for (const Timing& timing : timings) fastest = std::min(fastest, timing.wallMs);
    return fastest;
}

std::string Rounds(const std::vector<Timing>& timings) {
    std::string text;
    for (const Timing& timing : timings) {
        char number[32];
        std::snprintf(number, sizeof number, " %.1f", timing.wallMs);
        text += number;
    }
    return text;
}

}  // namespace

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    if (values.size() % 2 == 1) return values[middle];
    return (values[middle - 1] + values[middle]) / 2;
}

Comparison RunRotating(int rounds, const std::string& root, const TimedRun& engine,
                       const std::vector<std::string>& from, const std::vector<std::string>& to,
                       bool watchEnds) {
    Comparison comparison;
    const auto runEngine = [&] { comparison.engine.push_back(engine(root)); };
    const auto runFullPaths = [&] {
        comparison.fullPaths.push_back(TimeRawLoop(RawLoop::kFullPaths, root, from, to, watchEnds));
    };
    const auto runFloor = [&] {
        comparison.floor.push_back(TimeRawLoop(RawLoop::kNamesInFolder, root, from, to, watchEnds));
    };
    const std::function<void()> sides[] = {runEngine, runFullPaths, runFloor};
    for (int round = 0; round < rounds; ++round) {
        for (int side = 0; side < 3; ++side) sides[(round + side) % 3]();
    }
    return comparison;
}

void PrintComparison(std::string_view label, const Comparison& c, std::string_view side) {
    const auto wall = [](const std::vector<Timing>& t) { return MedianOf(t, &Timing::wallMs); };
    const auto cpu = [](const std::vector<Timing>& t) { return MedianOf(t, &Timing::cpuMs); };
    const int width = static_cast<int>(label.size());
    const int sideWidth = static_cast<int>(side.size());
    std::printf(
        "%.*s: %.*s %.1f ms; floor (names in the held folder) %.1f ms, ratio %.2f; full-path "
        "loop %.1f ms, ratio %.2f\n",
        width, label.data(), sideWidth, side.data(), wall(c.engine), wall(c.floor),
        wall(c.engine) / wall(c.floor), wall(c.fullPaths), wall(c.engine) / wall(c.fullPaths));
    // Waits outside this process (the filesystem's journal, other programs)
    // only ever add time to a round: the fastest rounds and the CPU time are
    // steadier than the medians.
    std::printf(
        "    fastest: %.*s %.1f ms, floor %.1f ms, ratio %.2f, full paths %.1f ms, ratio %.2f\n",
        sideWidth, side.data(), Fastest(c.engine), Fastest(c.floor),
        Fastest(c.engine) / Fastest(c.floor), Fastest(c.fullPaths),
        Fastest(c.engine) / Fastest(c.fullPaths));
    std::printf(
        "    cpu time medians: %.*s %.1f ms, floor %.1f ms, ratio %.2f, full paths %.1f ms, "
        "ratio %.2f\n",
        sideWidth, side.data(), cpu(c.engine), cpu(c.floor), cpu(c.engine) / cpu(c.floor),
        cpu(c.fullPaths), cpu(c.engine) / cpu(c.fullPaths));
    std::printf("    rounds, wall ms: %.*s%s; floor%s; full paths%s\n", sideWidth, side.data(),
                Rounds(c.engine).c_str(), Rounds(c.floor).c_str(), Rounds(c.fullPaths).c_str());
    std::fflush(stdout);
}

int RoundsFromArguments(int argc, char** argv, int fallback) {
    if (argc < 2) return fallback;
    const int rounds = std::stoi(argv[1]);
    if (rounds < 1) throw std::invalid_argument("the round count must be at least 1");
    return rounds;
}

int RunBenchmark(const char* name, int argc, char** argv,
                 int (*run)(int rounds, const std::string& root), int defaultRounds) {
    try {
        const int rounds = RoundsFromArguments(argc, argv, defaultRounds);
        for (const std::string& root : BenchRoots(argc, argv)) {
            if (const int status = run(rounds, root); status != 0) return status;
        }
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", name, error.what());
        return 1;
    }
}

}  // namespace tolvane::bench
