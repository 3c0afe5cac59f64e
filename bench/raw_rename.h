#pragma once

#include <string>
#include <vector>

#include "bench/stopwatch.h"

namespace tolvane::bench {

// The two references every rename path is measured against, each renaming
// from[i] to to[i] in order with renameat2(RENAME_NOREPLACE):
enum class RawLoop {
    // on full paths, so that every call walks the whole path again;
    kFullPaths,
    // by name inside the folder, opened once: the floor.
    kNamesInFolder,
};

// Runs `loop` on fresh empty files named `from` in a new directory under
// `root` and returns the time of the loop alone. With `watchEnds`, the first
// and the last file are watched through inotify meanwhile, as a side timed
// by watching them is. Raises std::runtime_error on the first failure, or
// when the directory does not end up holding `to`.
Timing TimeRawLoop(RawLoop loop, const std::string& root, const std::vector<std::string>& from,
                   const std::vector<std::string>& to, bool watchEnds = false);

}  // namespace tolvane::bench
