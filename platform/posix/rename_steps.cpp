#include "platform/posix/rename_steps.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
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

bool IsListed(const RenameRequest& request, const Location& at) {
    // A second descriptor: readdir needs its own open of the folder.
    const int fd = ::openat(at.directory.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) request.Fail(errno);
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
    if (!dir) {
        const int error = errno;
        ::close(fd);
        request.Fail(error);
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        if (at.name == entry->d_name) return true;
    }
    return false;
}

std::string TemporaryName(int attempt) {
    static std::atomic<unsigned> counter{0};
    return ".tolvane-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
           std::to_string(attempt) + ".tmp";
}

Location SameFolder(const RenameRequest& request, const Location& at, std::string name) {
    const int fd = ::fcntl(at.directory.get(), F_DUPFD_CLOEXEC, 0);
    if (fd < 0) request.Fail(errno);
    return Location{UniqueFd(fd), std::move(name)};
}

}  // namespace

void RenameRequest::Fail(int number, const std::string& context) const {
    Text reason = FromNativePath(std::strerror(number));
    if (!context.empty()) reason += u" (" + FromNativePath(context) + u")";
    throw RenameError(number, reason, old_, new_);
}

bool StatEntry(const Location& at, struct stat& info) {
    return ::fstatat(at.directory.get(), at.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

Location OpenLocation(const RenameRequest& request, const std::string& path) {
    const std::size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) request.Fail(errno);
    return Location{UniqueFd(fd), slash == std::string::npos ? path : path.substr(slash + 1)};
}

int RenameNoReplace(const Location& from, const Location& to) {
    if (::renameat2(from.directory.get(), from.name.c_str(), to.directory.get(), to.name.c_str(),
                    RENAME_NOREPLACE) == 0) {
        return 0;
    }
    return errno;
}

bool IsSameEntryOtherSpelling(const RenameRequest& request, const Location& from,
                              const Location& to) {
    struct stat fromInfo {};
    struct stat toInfo {};
    if (from.name == to.name || !StatEntry(from, fromInfo) || !StatEntry(to, toInfo)) {
        return false;
    }
    const bool sameInode = fromInfo.st_dev == toInfo.st_dev && fromInfo.st_ino == toInfo.st_ino;
    // Two hard links on a case-sensitive filesystem are both listed.
    return sameInode && !IsListed(request, to);
}

void RenameThroughTemporary(const RenameRequest& request, const Location& from,
                            const Location& to) {
    constexpr int kAttempts = 16;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const Location temporary = SameFolder(request, from, TemporaryName(attempt));
        const int parked = RenameNoReplace(from, temporary);
        if (parked == EEXIST) continue;
        if (parked != 0) request.Fail(parked);
        const int placed = RenameNoReplace(temporary, to);
        if (placed == 0) return;
        if (RenameNoReplace(temporary, from) != 0) {
            request.Fail(placed, "the entry was left as \u201C" + temporary.name + "\u201D");
        }
        request.Fail(placed);
    }
    request.Fail(EEXIST);
}

}  // namespace tolvane::posix
