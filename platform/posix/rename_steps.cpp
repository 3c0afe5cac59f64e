#include "platform/posix/rename_steps.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>

#include "engine/error.h"
#include "platform/posix/native_path.h"

namespace tolvane::posix {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool SameInode(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

void RenameRequest::Fail(int number, const std::string& context) const {
    Text reason = FromNativePath(std::strerror(number));
    if (!context.empty()) reason += u" (" + FromNativePath(context) + u")";
    throw RenameError(number, reason, Text(old_), Text(new_));
}

Identity IdentityOf(const struct stat& info) {
    return Identity{info.st_dev, info.st_ino, static_cast<mode_t>(info.st_mode & S_IFMT)};
}

bool StatEntry(const Location& at, struct stat& info) {
    // Asked of the filesystem itself: a FUSE or network filesystem may have
    // carried out a step it reported failed, and the kernel's cached view of
    // the name would still show the state before it.
    struct statx fresh {};
    if (::statx(at.directory.get(), at.name.c_str(), AT_SYMLINK_NOFOLLOW | AT_STATX_FORCE_SYNC,
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

Location OpenLocation(const RenameRequest& request, const std::string& path) {
    const std::size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) request.Fail(errno);
    return Location{DirectoryFd(UniqueFd(fd)),
                    slash == std::string::npos ? path : path.substr(slash + 1)};
}

Location SameFolder(const Location& at, std::string name) {
    return Location{DirectoryFd::Borrowed(at.directory.get()), std::move(name)};
}

int RenameNoReplace(const Location& from, const Location& to) {
    if (::renameat2(from.directory.get(), from.name.c_str(), to.directory.get(), to.name.c_str(),
                    RENAME_NOREPLACE) == 0) {
        return 0;
    }
    return errno;
}

std::optional<bool> IsListed(const Location& at) {
    // A second descriptor: readdir needs its own open of the folder.
    const int fd = ::openat(at.directory.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
    if (!dir) {
        ::close(fd);
        return std::nullopt;
    }
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (at.name == entry->d_name) return true;
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

std::string TemporaryName() {
    static std::atomic<unsigned> counter{0};
    return "tolvane-renaming-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

std::string Quoted(const std::string& name) { return "\u201C" + name + "\u201D"; }

}  // namespace tolvane::posix
