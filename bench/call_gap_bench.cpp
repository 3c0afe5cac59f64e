// The time each side spends between one renameat2 call and the next, and
// inside the call, for a full drop renamed by name in its folder: the bare
// floor loop, the batch over a list of paths, and the drop from its uri-list.
// Unlike whole-drop times, the time between calls hardly moves from run to
// run, so it shows the program's own share of every rename directly: its
// median for the usual entry, its mean with the work done once in a while
// (the drop decodes its entries in stretches). Each figure is the median of
// the rounds'.
//
// One more side runs the batch with every call answered here, without
// entering the kernel: the program's own work between two calls when no
// rename has just run through the caches and the address translations.

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_dir.h"
#include "bench/comparison.h"
#include "bench/drop_route.h"
#include "bench/file_names.h"
#include "bench/raw_rename.h"
#include "platform/posix/native_path.h"
#include "platform/posix/uri_list.h"
#include "platform/text_file_list.h"

namespace {

using Clock = std::chrono::steady_clock;

// Every renameat2 in this program, the renamer's and the floor loop's alike,
// comes here while a side is recorded.
struct CallLog {
    bool recording = false;
    bool answerHere = false;  // succeed without renaming anything
    std::vector<Clock::time_point> entered;
    std::vector<Clock::time_point> returned;
};
CallLog callLog;

}  // namespace

extern "C" int renameat2(int oldFolder, const char* oldName, int newFolder, const char* newName,
                         unsigned int flags) noexcept {
    const bool record = callLog.recording;
    if (record) callLog.entered.push_back(Clock::now());
    const long result = callLog.answerHere ? 0
                                           : ::syscall(SYS_renameat2, oldFolder, oldName, newFolder,
                                                       newName, flags);
    if (record) callLog.returned.push_back(Clock::now());
    return static_cast<int>(result);
}

namespace tolvane::bench {
namespace {

struct CallTimes {
    double betweenNs;      // median: the usual entry
    double betweenMeanNs;  // mean: with work done once in a while, such as a stretch decoded ahead
    double insideNs;
};

// Runs `side` with every call recorded; medians over its calls.
CallTimes Record(const std::function<void()>& side) {
    callLog.entered.clear();
    callLog.returned.clear();
    callLog.entered.reserve(kLargestDrop);
    callLog.returned.reserve(kLargestDrop);
    callLog.recording = true;
    side();
    callLog.recording = false;
    std::vector<double> between;
    std::vector<double> inside;
    for (std::size_t i = 0; i < callLog.entered.size(); ++i) {
        inside.push_back(
            std::chrono::duration<double, std::nano>(callLog.returned[i] - callLog.entered[i])
                .count());
        if (i == 0) continue;
        between.push_back(
            std::chrono::duration<double, std::nano>(callLog.entered[i] - callLog.returned[i - 1])
                .count());
    }
    double total = 0;
    for (const double ns : between) total += ns;
    return CallTimes{Median(between), total / static_cast<double>(between.size()), Median(inside)};
}

// Each side makes its files, renames them and checks the names; only its
// renames call renameat2.
int Run(int rounds, const std::string& root) {
    const std::vector<std::string> from = MakeNames(kLargestDrop, DroppedName);
    const std::vector<std::string> to = MakeNames(kLargestDrop, NumberedName);
    const DropRoute drop = UriListRoute();
    const auto batchIn = [&](const BenchDir& dir) {
        std::vector<Text> paths;
        for (const std::string& path : FullPaths(dir, from)) paths.push_back(FromNativePath(path));
        RenameDroppedFiles(TextFileList(std::move(paths)));
    };
    const auto batch = [&] {
        const BenchDir dir(root);
        CreateEmptyFiles(dir, from);
        batchIn(dir);
        ExpectNames(dir, to);
    };
    const auto answeredHere = [&] {
        const BenchDir dir(root);
        CreateEmptyFiles(dir, from);  // the folder is still opened and held
        callLog.answerHere = true;
        batchIn(dir);
        callLog.answerHere = false;
        ExpectNames(dir, from);
    };
    const auto dropped = [&] {
        const BenchDir dir(root);
        CreateEmptyFiles(dir, from);
        drop.prepare(UriListFromPaths(FullPaths(dir, from)))();
        ExpectNames(dir, to);
    };
    const std::pair<const char*, std::function<void()>> sides[] = {
        {"floor", [&] { TimeRawLoop(RawLoop::kNamesInFolder, root, from, to); }},
        {"batch", batch},
        {"drop", dropped},
        {"warm", answeredHere},
    };
    std::printf(
        "call_gap_bench: %d files per side, fresh each run, in %s (%s), mode N; %d rounds in "
        "rotating order; \"warm\" is the batch with every call answered in the process\n",
        kLargestDrop, root.c_str(), FilesystemName(root).c_str(), rounds);
    constexpr std::size_t kSides = std::size(sides);
    std::vector<CallTimes> times[kSides];
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t turn = 0; turn < kSides; ++turn) {
            const std::size_t side = (static_cast<std::size_t>(round) + turn) % kSides;
            times[side].push_back(Record(sides[side].second));
        }
    }
    for (std::size_t side = 0; side < kSides; ++side) {
        std::vector<double> between;
        std::vector<double> betweenMean;
        std::vector<double> inside;
        for (const CallTimes& t : times[side]) {
            between.push_back(t.betweenNs);
            betweenMean.push_back(t.betweenMeanNs);
            inside.push_back(t.insideNs);
        }
        std::printf(
            "    %-5s between calls: median %4.0f ns, mean %4.0f ns; inside the call %5.0f ns\n",
            sides[side].first, Median(between), Median(betweenMean), Median(inside));
    }
    return 0;
}

}  // namespace
}  // namespace tolvane::bench

int main(int argc, char** argv) {
    return tolvane::bench::RunBenchmark("call_gap_bench", argc, argv, tolvane::bench::Run, 5);
}
