// Times a drop of 2,000 entries on a share (sshfs, gvfs's bridge) through the
// engine and the POSIX renamer against bare renameat2 loops making the same
// renames, in one run. There each call is a round trip to the server: the
// engine's extra ones are the checks of the answers.

#include <cstdio>
#include <string>
#include <vector>

#include "bench/batch_run.h"
#include "bench/comparison.h"
#include "bench/file_names.h"

namespace tolvane::bench {
namespace {

constexpr int kShareDrop = 2000;

std::string OldName(int number) { return std::string("f").append(FiveDigits(number)); }
std::string NewName(int number) { return std::string("g").append(FiveDigits(number)); }

Timing TimeEngine(const std::string& root) {
    return TimeBatch(root, MakeNames(kShareDrop, OldName), MakeNames(kShareDrop, NewName), u"S",
                     u"f", u"g");
}

int Run(int rounds, const std::string& root) {
    std::printf(
        "share_rename_bench: %d files per side, fresh each run, in %s (%s); %d rounds, "
        "medians\n",
        kShareDrop, root.c_str(), FilesystemName(root).c_str(), rounds);
    PrintComparison("mode S", RunRotating(rounds, root, TimeEngine, MakeNames(kShareDrop, OldName),
                                          MakeNames(kShareDrop, NewName)));
    return 0;
}

}  // namespace
}  // namespace tolvane::bench

int main(int argc, char** argv) {
    return tolvane::bench::RunBenchmark("share_rename_bench", argc, argv, tolvane::bench::Run, 3);
}
