#include "platform/posix/posix_renamer.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/posix/native_path.h"
#include "platform/posix/rename_fallback.h"
#include "platform/posix/rename_steps.h"
#include "platform/posix/spelling_change.h"

namespace tolvane {

namespace {

using posix::Location;
using posix::RenameRequest;
using posix::StepResult;

void ConfirmExists(const RenameRequest& request, const std::string& path) {
    struct stat info {};
    if (::fstatat(AT_FDCWD, path.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) request.Fail(errno);
}

int RenameNoReplace(const std::string& oldPath, const std::string& newPath) {
    if (::renameat2(AT_FDCWD, oldPath.c_str(), AT_FDCWD, newPath.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    return errno;
}

std::string NativePath(const RenameRequest& request, const Text& path) {
    std::optional<std::string> bytes = TryToNativePath(path);
    if (!bytes) request.Fail(EILSEQ, "a name holds a character that no file name can hold");
    return std::move(*bytes);
}

// After the no-replace call failed with `error`: a change of letter case on a
// case-insensitive filesystem, or a filesystem without the flag.
void RenameCarefully(const RenameRequest& request, const std::string& oldPath,
                     const std::string& newPath, int error, bool useNoReplaceFlag) {
    // These paths take several steps; each side's folder is opened once so
    // that every step acts on the same folders.
    const Location from = posix::OpenLocation(request, oldPath);
    const Location to = posix::OpenLocation(request, newPath);
    if (error != EEXIST) {
        if (posix::IsMoveIntoItself(from, to)) {
            request.Fail(EINVAL, "a folder cannot move into itself");
        }
        const StepResult moved = posix::MoveWithoutNoReplaceFlag(from, to);
        if (moved.done()) return;
        // A taken name, unless it is the entry's own under another spelling.
        if (moved.error != EEXIST || !posix::IsAnotherSpelling(from, to)) {
            request.Fail(moved.error, moved.context);
        }
    }
    posix::ChangeSpelling(request, from, to, useNoReplaceFlag);
}

}  // namespace

void PosixRenamer::Rename(const Text& oldPath, const Text& newPath) {
    const RenameRequest request(oldPath, newPath);
    const std::string from = NativePath(request, oldPath);
    const std::string to = NativePath(request, newPath);
    if (from == to) return ConfirmExists(request, from);
    // The usual case is this one atomic call that never replaces anything.
    const int error = options_.noReplaceUnsupported ? EINVAL : RenameNoReplace(from, to);
    if (error == 0) return;
    if (error != EEXIST && !posix::LacksNoReplaceSupport(error)) request.Fail(error);
    RenameCarefully(request, from, to, error, !options_.noReplaceUnsupported);
}

}  // namespace tolvane
