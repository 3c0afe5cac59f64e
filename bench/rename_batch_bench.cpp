// Times a full drop's renames through the engine and the POSIX renamer
// against bare renameat2 loops doing the same renames, in one run.

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "bench/bench_dir.h"
#include "bench/comparison.h"
#include "bench/file_names.h"
#include "bench/quiet_watch.h"
#include "bench/stopwatch.h"
#include "engine/rename_batch.h"
#include "platform/posix/native_path.h"
#include "platform/posix/posix_renamer.h"
#include "platform/text_file_list.h"

namespace tolvane::bench {
namespace {

struct ModeCase {
    const char* label;
    Text mode;
    Text find;
    Text replace;
    // The name the rule must give old name `name`, the `number`th entry.
    std::string (*expected)(const std::string& name, int number);
};

// Appending instead of "literal" + string: GCC 12 gives a false -Wrestrict
// warning on the latter.
std::string OldName(int number) {
    return std::string("f").append(FiveDigits(number)).append(".dat");
}

std::string NumberedName(const std::string& name, int number) {
    return FiveDigits(number) + "-" + name;
}

std::string SearchedName(const std::string& name, int) { return std::string("g").append(name, 1); }

std::vector<std::string> NewNames(const ModeCase& c) {
    return MakeNames(kLargestDrop,
                     [&c](int number) { return c.expected(OldName(number), number); });
}

Timing TimeEngine(const ModeCase& c, const std::string& root) {
    const BenchDir dir(root);
    const std::vector<std::string> names = MakeNames(kLargestDrop, OldName);
    CreateEmptyFiles(dir, names);
    std::vector<Text> paths;
    for (const auto& path : FullPaths(dir, names)) paths.push_back(FromNativePath(path));
    const TextFileList list(std::move(paths));
    PosixRenamer renamer;
    QuietWatch batchWatch;

    const Stopwatch watch;
    RenameBatch(list, renamer, batchWatch, c.mode, c.find, c.replace);
    const Timing timing = watch.Elapsed();

    ExpectNames(dir, NewNames(c));
    return timing;
}

int Run(int rounds, const std::string& root) {
    const ModeCase cases[] = {
        {"mode N", u"N", u"-", u"", NumberedName},
        {"mode S", u"S", u"f", u"g", SearchedName},
    };
    std::printf(
        "rename_batch_bench: %d files per side, fresh each run, in %s (%s); %d rounds, "
        "medians\n",
        kLargestDrop, root.c_str(), FilesystemName(root).c_str(), rounds);
    for (const ModeCase& c : cases) {
        PrintComparison(c.label,
                        RunRotating(
                            rounds, root, [&c](const std::string& in) { return TimeEngine(c, in); },
                            MakeNames(kLargestDrop, OldName), NewNames(c)));
    }
    return 0;
}

}  // namespace
}  // namespace tolvane::bench

int main(int argc, char** argv) {
    return tolvane::bench::RunBenchmark("rename_batch_bench", argc, argv, tolvane::bench::Run);
}
