#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/rename_steps.h"

namespace tolvane::posix {

namespace {

bool SameInode(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

void MoveFileByLink(const RenameRequest& request, const Location& from, const Location& to) {
    // linkat fails with EEXIST rather than replace; flags 0 links a symbolic
    // link itself, not its target.
    if (::linkat(from.directory.get(), from.name.c_str(), to.directory.get(), to.name.c_str(), 0) !=
        0) {
        const int error = errno;
        const bool noLinks = error == EPERM || error == EOPNOTSUPP || error == EMLINK;
        request.Fail(error, noLinks ? "the filesystem refused the new name, or cannot rename "
                                      "this file without the risk of replacing another"
                                    : "");
    }
    if (::unlinkat(from.directory.get(), from.name.c_str(), 0) != 0) {
        const int error = errno;
        const bool undone = ::unlinkat(to.directory.get(), to.name.c_str(), 0) == 0;
        request.Fail(error, undone ? "" : "the file now has both names");
    }
}

void MoveFolderOverPlaceholder(const RenameRequest& request, const Location& from,
                               const Location& to) {
    // The empty placeholder reserves the name atomically; the plain rename
    // below can then replace nothing but that empty folder, and the kernel
    // refuses if anyone has put something into it meanwhile.
    if (::mkdirat(to.directory.get(), to.name.c_str(), 0700) != 0) request.Fail(errno);
    if (::renameat(from.directory.get(), from.name.c_str(), to.directory.get(), to.name.c_str()) !=
        0) {
        const int error = errno;
        const bool undone = ::unlinkat(to.directory.get(), to.name.c_str(), AT_REMOVEDIR) == 0;
        request.Fail(error, undone ? "" : "an empty folder was left under the new name");
    }
}

}  // namespace

bool IsMoveIntoItself(const Location& from, const Location& to) {
    struct stat moved {};
    if (!StatEntry(from, moved) || !S_ISDIR(moved.st_mode)) {
        return false;
    }
    // Walk up from the target's folder to the root, looking for the moved one.
    UniqueFd current(::fcntl(to.directory.get(), F_DUPFD_CLOEXEC, 0));
    struct stat here {};
    while (current.valid() && ::fstat(current.get(), &here) == 0) {
        if (SameInode(here, moved)) return true;
        UniqueFd parent(::openat(current.get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
        struct stat above {};
        if (!parent.valid() || ::fstat(parent.get(), &above) != 0 || SameInode(above, here)) {
            return false;
        }
        current = std::move(parent);
    }
    return false;
}

void RenameWithoutNoReplaceFlag(const RenameRequest& request, const Location& from,
                                const Location& to) {
    struct stat info {};
    if (!StatEntry(from, info)) {
        request.Fail(errno);
    }
    if (S_ISDIR(info.st_mode)) {
        MoveFolderOverPlaceholder(request, from, to);
    } else {
        MoveFileByLink(request, from, to);
    }
}

}  // namespace tolvane::posix
