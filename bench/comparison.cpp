#include "bench/comparison.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace tolvane::bench {

namespace {

double Median(const std::vector<Timing>& timings, double Timing::*field) {
    std::vector<double> values;
    for (const Timing& timing : timings) values.push_back(timing.*field);
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    if (values.size() % 2 == 1) return values[middle];
    return (values[middle - 1] + values[middle]) / 2;
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

Comparison RunAlternating(int rounds, const TimedRun& engine, const TimedRun& raw) {
    Comparison comparison;
    for (int round = 0; round < rounds; ++round) {
        if (round % 2 == 0) {
            comparison.engine.push_back(engine());
            comparison.raw.push_back(raw());
        } else {
            comparison.raw.push_back(raw());
            comparison.engine.push_back(engine());
        }
    }
    return comparison;
}

void PrintComparison(std::string_view label, const Comparison& comparison) {
    const double engine = Median(comparison.engine, &Timing::wallMs);
    const double raw = Median(comparison.raw, &Timing::wallMs);
    const double engineCpu = Median(comparison.engine, &Timing::cpuMs);
    const double rawCpu = Median(comparison.raw, &Timing::cpuMs);
    const double engineFastest = Fastest(comparison.engine);
    const double rawFastest = Fastest(comparison.raw);
    const int width = static_cast<int>(label.size());
    std::printf("%.*s: engine %.1f ms, raw renameat2 %.1f ms, ratio %.2f\n", width, label.data(),
                engine, raw, engine / raw);
    // Waits outside this process (the filesystem's journal, other programs)
    // only ever add time to a round: the fastest rounds and the CPU time are
    // steadier than the medians.
    std::printf(
        "    fastest: engine %.1f ms, raw %.1f ms, ratio %.2f; cpu time medians: engine "
        "%.1f ms, raw %.1f ms, ratio %.2f\n",
        engineFastest, rawFastest, engineFastest / rawFastest, engineCpu, rawCpu,
        engineCpu / rawCpu);
    std::printf("    rounds, wall ms: engine%s; raw%s\n", Rounds(comparison.engine).c_str(),
                Rounds(comparison.raw).c_str());
    std::fflush(stdout);
}

int RoundsFromArguments(int argc, char** argv, int fallback) {
    if (argc < 2) return fallback;
    const int rounds = std::stoi(argv[1]);
    if (rounds < 1) throw std::invalid_argument("the round count must be at least 1");
    return rounds;
}

int RunBenchmark(const char* name, int argc, char** argv, int (*run)(int rounds)) {
    try {
        return run(RoundsFromArguments(argc, argv, 7));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", name, error.what());
        return 1;
    }
}

}  // namespace tolvane::bench
