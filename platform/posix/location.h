#pragma once

#include <fcntl.h>

#include <string>
#include <utility>

#include "platform/posix/unique_fd.h"

namespace tolvane::posix {

// One side of a rename: a folder and a name in it, as the system calls take
// them. The folder is borrowed from a holder that outlives the location (the
// folder a batch holds open for its consecutive entries, or another
// location), owned (opened for the steps of one rename), or AT_FDCWD, where
// the name is a whole path.
class Location {
  public:
    Location() = default;
    Location(int folder, std::string name) : folder_(folder), name_(std::move(name)) {}
    Location(UniqueFd folder, std::string name)
        : owned_(std::move(folder)), folder_(owned_.get()), name_(std::move(name)) {}

    int folder() const noexcept { return folder_; }
    const std::string& name() const noexcept { return name_; }
    bool IsWholePath() const noexcept { return folder_ == AT_FDCWD; }

    // Looks names up in `folder`, which the caller keeps open (AT_FDCWD for
    // a whole path); the name's buffer is kept for the next rename.
    void Borrow(int folder) noexcept {
        if (owned_.valid()) owned_ = UniqueFd();
        folder_ = folder;
    }
    std::string& NameBuffer() noexcept { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    // Another name in the same folder, valid while this location is. Not for
    // a whole path.
    Location Sibling(std::string name) const { return Location(folder_, std::move(name)); }

  private:
    UniqueFd owned_;
    int folder_ = AT_FDCWD;
    std::string name_;
};

// The folder part of a whole path, up to and including its last '/'; "."
// for a path without one.
std::string FolderOfPath(const std::string& path);

// The entry of a whole path as a name in its folder, opened here, so that
// every step of a route acts on the same folder whatever happens to the path
// meanwhile; the errno value of the open, 0 when `at` was set.
int OpenFolderOf(const Location& path, Location& at);

}  // namespace tolvane::posix
