// Starts a window program and prints, on one line, the milliseconds from its
// start until its window titled TITLE is mapped, and its peak resident memory
// in kB (VmHWM) SETTLE_MS after that. Used by scripts/bench.sh.

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <thread>

#include "bench/child_process.h"
#include "bench/window_map_watch.h"

namespace tolvane::bench {
namespace {

constexpr std::chrono::seconds kTimeout{20};

int Probe(const std::string& title, std::chrono::milliseconds settle, char* const* program) {
    WindowMapWatch watch;
    const auto start = std::chrono::steady_clock::now();
    ChildProcess child(program);
    const auto mapped =
        watch.WaitForMap(title, kTimeout, [&child] { return child.HasExited(); }).seen;
    std::this_thread::sleep_for(settle);
    const long peakKb = child.PeakResidentKb();
    const std::chrono::duration<double, std::milli> startup = mapped - start;
    std::printf("%.1f %ld\n", startup.count(), peakKb);
    return 0;
}

}  // namespace
}  // namespace tolvane::bench

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_probe TITLE SETTLE_MS PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    try {
        return tolvane::bench::Probe(argv[1], std::chrono::milliseconds(std::stoi(argv[2])),
                                     argv + 3);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "startup_probe: %s\n", error.what());
        return 1;
    }
}
