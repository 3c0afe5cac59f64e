#pragma once

#include <string>

#include "platform/posix/unique_fd.h"

namespace tolvane::posix {

// A system call failed with `number` (an errno value).
struct SystemFailure {
    int number;
    std::string context;  // extra words for the user, may be empty
};

[[noreturn]] void Fail(int number, std::string context = {});

// One side of a rename: its directory, opened once, and the name in it.
struct Location {
    UniqueFd directory;
    std::string name;
};

Location OpenLocation(const std::string& path);

// renameat2 with RENAME_NOREPLACE; returns the errno value, 0 on success.
int RenameNoReplace(const Location& from, const Location& to);

// `from` and `to` are two spellings of one entry on a case-insensitive
// filesystem: same inode and the exact `to` spelling is not listed.
bool IsSameEntryOtherSpelling(const Location& from, const Location& to);

// Renames in two no-replace steps through a fresh name in the same folder.
void RenameThroughTemporary(const Location& from, const Location& to);

// The folder `from` lies on the path of `to`'s directory (a folder moved into
// itself), which is the true meaning of an EINVAL from the kernel.
bool IsMoveIntoItself(const Location& from, const Location& to);

// For filesystems without RENAME_NOREPLACE: equally safe, never replacing.
void RenameWithoutNoReplaceFlag(const Location& from, const Location& to);

}  // namespace tolvane::posix
