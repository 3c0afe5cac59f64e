#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>
#include <utility>

#include "engine/text.h"
#include "platform/posix/unique_fd.h"

namespace tolvane::posix {

// The rename being done, as the user named it, so that every step can report
// its failure with both paths.
class RenameRequest {
  public:
    RenameRequest(std::u16string_view oldPath, std::u16string_view newPath)
        : old_(oldPath), new_(newPath) {}

    // Raises RenameError for an errno value, with extra words if given.
    [[noreturn]] void Fail(int number, const std::string& context = {}) const;

  private:
    std::u16string_view old_;
    std::u16string_view new_;
};

// How one step of a multi-step rename ended: 0 when it was done, otherwise an
// errno value and words on what was found on disk afterwards.
struct StepResult {
    int error = 0;
    std::string context;

    bool done() const { return error == 0; }
};

// A folder's descriptor: owned, or borrowed from an owner that outlives it
// (the folder a batch holds open for its consecutive entries).
class DirectoryFd {
  public:
    static DirectoryFd Borrowed(int fd) { return DirectoryFd(UniqueFd(), fd); }
    explicit DirectoryFd(UniqueFd owned) : owned_(std::move(owned)), fd_(owned_.get()) {}

    int get() const noexcept { return fd_; }

  private:
    DirectoryFd(UniqueFd owned, int fd) : owned_(std::move(owned)), fd_(fd) {}

    UniqueFd owned_;
    int fd_;
};

// One side of a rename: its directory, opened once, and the name in it.
struct Location {
    DirectoryFd directory;
    std::string name;
};

// What makes an entry itself: device and inode, looked at without following
// a symbolic link. Kept with the kind so that a file is never taken for a
// folder that happens to reuse its number.
struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    mode_t type = 0;

    bool operator==(const Identity&) const = default;
};

Identity IdentityOf(const struct stat& info);

// The entry's type, mode, device, inode, link count, size and modification
// time, as the filesystem reports them now (not from the kernel's cache), without following a
// symbolic link.
bool StatEntry(const Location& at, struct stat& info);

// The identity of what `at` names now; nothing when nothing is there.
std::optional<Identity> IdentityAt(const Location& at);

Location OpenLocation(const RenameRequest& request, const std::string& path);

// Another name in the same folder as `at`, valid while `at` is.
Location SameFolder(const Location& at, std::string name);

// renameat2 with RENAME_NOREPLACE; returns the errno value, 0 on success.
int RenameNoReplace(const Location& from, const Location& to);

// Whether the folder lists `at`'s name byte for byte; nothing when the
// listing cannot be read. A name may be found by a lookup and still not be
// listed: on a case-insensitive filesystem another spelling of a listed name
// is found too.
std::optional<bool> IsListed(const Location& at);

// The folder `from` lies on the path of `to`'s directory (a folder moved into
// itself), which is the true meaning of an EINVAL from the kernel.
bool IsMoveIntoItself(const Location& from, const Location& to);

// A fresh name for an entry on its way, visible and recognisable, so that an
// entry left under it by a crash is found again, and short, so that it fits
// wherever the old name did. Nobody else knows it.
std::string TemporaryName();

// "“name”" for error texts.
std::string Quoted(const std::string& name);

}  // namespace tolvane::posix
