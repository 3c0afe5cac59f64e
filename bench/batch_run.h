#pragma once

#include <string>
#include <vector>

#include "bench/stopwatch.h"
#include "engine/text.h"

namespace tolvane::bench {

// A batch as a drop runs it, on fresh empty files named `from` in a folder
// under `root`: times RenameBatch with the POSIX renamer and the watch the
// program uses (with nothing to show), then checks
// that the folder holds exactly `to`.
Timing TimeBatch(const std::string& root, const std::vector<std::string>& from,
                 const std::vector<std::string>& to, const Text& mode, const Text& find,
                 const Text& replace);

}  // namespace tolvane::bench
