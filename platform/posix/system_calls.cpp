#include "platform/posix/system_calls.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

namespace tolvane::posix {

namespace {

int Answer(int status) { return status == 0 ? 0 : errno; }

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool SameInode(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

int RenamePlainly(const Location& from, const Location& to) {
    return Answer(::renameat(from.folder(), from.name().c_str(), to.folder(), to.name().c_str()));
}

int LinkName(const Location& from, const Location& to) {
    return Answer(::linkat(from.folder(), from.name().c_str(), to.folder(), to.name().c_str(), 0));
}

int MakeFolder(const Location& at) {
    return Answer(::mkdirat(at.folder(), at.name().c_str(), 0700));
}

int RemoveName(const Location& at) { return Answer(::unlinkat(at.folder(), at.name().c_str(), 0)); }

int RemoveFolder(const Location& at) {
    return Answer(::unlinkat(at.folder(), at.name().c_str(), AT_REMOVEDIR));
}

Identity IdentityOf(const struct stat& info) {
    return Identity{info.st_dev, info.st_ino, static_cast<mode_t>(info.st_mode & S_IFMT)};
}

bool StatEntry(const Location& at, struct stat& info) {
    struct statx fresh {};
    if (::statx(at.folder(), at.name().c_str(), AT_SYMLINK_NOFOLLOW | AT_STATX_FORCE_SYNC,
                STATX_TYPE | STATX_MODE | STATX_INO | STATX_NLINK | STATX_SIZE | STATX_MTIME,
                &fresh) != 0) {
        return false;
    }
    info = {};
    info.st_dev = makedev(fresh.stx_dev_major, fresh.stx_dev_minor);
    info.st_ino = fresh.stx_ino;
    info.st_mode = fresh.stx_mode;
    info.st_nlink = fresh.stx_nlink;
    info.st_size = static_cast<off_t>(fresh.stx_size);
    info.st_mtim = {static_cast<time_t>(fresh.stx_mtime.tv_sec),
                    static_cast<long>(fresh.stx_mtime.tv_nsec)};
    return true;
}

std::optional<Identity> IdentityAt(const Location& at) {
    struct stat info {};
    if (!StatEntry(at, info)) return std::nullopt;
    return IdentityOf(info);
}

std::optional<Identity> FolderIdentity(const Location& at) {
    struct stat info {};
    if (::fstat(at.folder(), &info) != 0) return std::nullopt;
    return IdentityOf(info);
}

bool FolderExists(const Location& at) {
    struct stat info {};
    return ::fstat(at.folder(), &info) == 0 && info.st_nlink > 0;
}

std::optional<bool> IsListed(const Location& at) {
    // A second descriptor: readdir needs its own open of the folder.
    const int fd = ::openat(at.folder(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
    if (!dir) {
        ::close(fd);
        return std::nullopt;
    }
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (at.name() == entry->d_name) return true;
    }
    if (errno != 0) return std::nullopt;
    return false;
}

bool IsMoveIntoItself(const Location& from, const Location& to) {
    struct stat moved {};
    if (!StatEntry(from, moved) || !S_ISDIR(moved.st_mode)) {
        return false;
    }
    // Walk up from the target's folder to the root, looking for the moved one.
    UniqueFd current(::fcntl(to.folder(), F_DUPFD_CLOEXEC, 0));
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

std::uint64_t MountOf(const Location& at) {
    struct statx info {};
    int status = 0;
    if (at.IsWholePath()) {
        status = ::statx(AT_FDCWD, FolderOfPath(at.name()).c_str(), 0, STATX_MNT_ID, &info);
    } else {
        status = ::statx(at.folder(), "", AT_EMPTY_PATH, STATX_MNT_ID, &info);
    }
    return status == 0 ? info.stx_mnt_id : 0;
}

}  // namespace tolvane::posix
