// Times a drop of the largest size, from its text/uri-list payload to the
// last rename, against bare renameat2 loops doing the same renames.

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "bench/bench_dir.h"
#include "bench/comparison.h"
#include "bench/drop_route.h"
#include "bench/file_names.h"
#include "bench/stopwatch.h"
#include "platform/posix/uri_list.h"
#if TOLVANE_BENCH_QT
#include "bench/qt_drop_route.h"
#endif

namespace tolvane::bench {
namespace {

Timing TimeDrop(const DropRoute& route, const std::string& root) {
    const BenchDir dir(root);
    const std::vector<std::string> names = MakeNames(kLargestDrop, DroppedName);
    CreateEmptyFiles(dir, names);
    const std::string uriList = UriListFromPaths(FullPaths(dir, names));
    const auto drop = route.prepare(uriList);

    const Stopwatch watch;
    drop();
    const Timing timing = watch.Elapsed();

    ExpectNames(dir, MakeNames(kLargestDrop, NumberedName));
    return timing;
}

std::vector<DropRoute> Routes() {
    std::vector<DropRoute> routes;
#if TOLVANE_BENCH_QT
    routes.push_back(QtDropRoute());
#endif
    routes.push_back(UriListRoute());
    return routes;
}

int Run(int rounds, const std::string& root) {
    std::printf(
        "drop_bench: %d files per side, fresh each run, in %s (%s), mode N; %d rounds, "
        "medians\n",
        kLargestDrop, root.c_str(), FilesystemName(root).c_str(), rounds);
    for (const DropRoute& route : Routes()) {
        PrintComparison(
            route.label,
            RunRotating(
                rounds, root, [&route](const std::string& in) { return TimeDrop(route, in); },
                MakeNames(kLargestDrop, DroppedName), MakeNames(kLargestDrop, NumberedName)));
    }
    return 0;
}

}  // namespace
}  // namespace tolvane::bench

int main(int argc, char** argv) {
    return tolvane::bench::RunBenchmark("drop_bench", argc, argv, tolvane::bench::Run);
}
