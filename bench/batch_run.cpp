#include "bench/batch_run.h"

#include "bench/bench_dir.h"
#include "bench/file_names.h"
#include "bench/quiet_watch.h"
#include "engine/rename_batch.h"
#include "platform/posix/native_path.h"
#include "platform/posix/posix_renamer.h"
#include "platform/text_file_list.h"

namespace tolvane::bench {

Timing TimeBatch(const std::string& root, const std::vector<std::string>& from,
                 const std::vector<std::string>& to, const Text& mode, const Text& find,
                 const Text& replace) {
    const BenchDir dir(root);
    CreateEmptyFiles(dir, from);
    std::vector<Text> paths;
    for (const auto& path : FullPaths(dir, from)) paths.push_back(FromNativePath(path));
    const TextFileList list(std::move(paths));
    PosixRenamer renamer;
    QuietWatch batchWatch;

    const Stopwatch watch;
    RenameBatch(list, renamer, batchWatch, mode, find, replace);
    const Timing timing = watch.Elapsed();

    ExpectNames(dir, to);
    return timing;
}

}  // namespace tolvane::bench
