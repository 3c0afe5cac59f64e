#include "bench/raw_rename.h"

#include <fcntl.h>
#include <stdio.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "bench/bench_dir.h"
#include "bench/file_names.h"
#include "bench/rename_watch.h"
#include "platform/posix/unique_fd.h"

namespace tolvane::bench {

namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

// The no-replace rename, or where the filesystem lacks it (sshfs) the plain
// one: the least a rename can cost there.
int Rename(int fromFolder, const char* from, int toFolder, const char* to) {
    static unsigned flags = RENAME_NOREPLACE;
    const int status = ::renameat2(fromFolder, from, toFolder, to, flags);
    if (status != 0 && errno == EINVAL && flags != 0) {
        flags = 0;
        return ::renameat2(fromFolder, from, toFolder, to, flags);
    }
    return status;
}

void FullPathLoop(const std::vector<std::string>& from, const std::vector<std::string>& to) {
    for (std::size_t i = 0; i < from.size(); ++i) {
        if (Rename(AT_FDCWD, from[i].c_str(), AT_FDCWD, to[i].c_str()) != 0) {
            Fail("renameat2 " + from[i]);
        }
    }
}

void NameLoop(const std::string& folder, const std::vector<std::string>& from,
              const std::vector<std::string>& to) {
    const UniqueFd fd(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) Fail("open " + folder);
    for (std::size_t i = 0; i < from.size(); ++i) {
        if (Rename(fd.get(), from[i].c_str(), fd.get(), to[i].c_str()) != 0) {
            Fail("renameat2 " + from[i]);
        }
    }
}

}  // namespace

Timing TimeRawLoop(RawLoop loop, const std::string& root, const std::vector<std::string>& from,
                   const std::vector<std::string>& to, bool watchEnds) {
    const BenchDir dir(root);
    CreateEmptyFiles(dir, from);
    std::optional<RenameWatch> ends;
    if (watchEnds) ends.emplace(std::vector<std::string>{dir / from.front(), dir / from.back()});
    Timing timing;
    if (loop == RawLoop::kFullPaths) {
        const std::vector<std::string> fromPaths = FullPaths(dir, from);
        const std::vector<std::string> toPaths = FullPaths(dir, to);
        const Stopwatch watch;
        FullPathLoop(fromPaths, toPaths);
        timing = watch.Elapsed();
    } else {
        const Stopwatch watch;
        NameLoop(dir.path(), from, to);
        timing = watch.Elapsed();
    }
    ExpectNames(dir, to);
    return timing;
}

}  // namespace tolvane::bench
