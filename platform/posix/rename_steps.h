#pragma once

#include <sys/stat.h>

#include <string>

#include "engine/text.h"
#include "platform/posix/unique_fd.h"

namespace tolvane::posix {

// The rename being done, as the user named it, so that every step can report
// its failure with both paths.
class RenameRequest {
  public:
    RenameRequest(const Text& oldPath, const Text& newPath) : old_(oldPath), new_(newPath) {}

    // Raises RenameError for an errno value, with extra words if given.
    [[noreturn]] void Fail(int number, const std::string& context = {}) const;

  private:
    const Text& old_;
    const Text& new_;
};

// One side of a rename: its directory, opened once, and the name in it.
struct Location {
    UniqueFd directory;
    std::string name;
};

// lstat of the entry: a symbolic link is looked at, not followed.
bool StatEntry(const Location& at, struct stat& info);

Location OpenLocation(const RenameRequest& request, const std::string& path);

// renameat2 with RENAME_NOREPLACE; returns the errno value, 0 on success.
int RenameNoReplace(const Location& from, const Location& to);

// `from` and `to` are two spellings of one entry on a case-insensitive
// filesystem: same inode and the exact `to` spelling is not listed.
bool IsSameEntryOtherSpelling(const RenameRequest& request, const Location& from,
                              const Location& to);

// Renames in two no-replace steps through a fresh name in the same folder.
void RenameThroughTemporary(const RenameRequest& request, const Location& from, const Location& to);

// The folder `from` lies on the path of `to`'s directory (a folder moved into
// itself), which is the true meaning of an EINVAL from the kernel.
bool IsMoveIntoItself(const Location& from, const Location& to);

// For filesystems without RENAME_NOREPLACE: equally safe, never replacing.
void RenameWithoutNoReplaceFlag(const RenameRequest& request, const Location& from,
                                const Location& to);

}  // namespace tolvane::posix
