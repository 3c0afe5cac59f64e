#pragma once

#include <string_view>

#include "platform/posix/route_steps.h"

namespace tolvane::posix {

// Whether two names differ in letter case alone (byte for byte where they
// are not UTF-8).
bool IsLetterCaseChange(std::string_view a, std::string_view b);

// Whether `to` may be another spelling of `from`'s name in the same folder,
// as on a case-insensitive filesystem: the two differ in letter case alone,
// the folder lists `from` byte for byte, and `to` is found all the same
// without being listed. Inode numbers cannot
// tell more: filesystems in FUSE give each spelling a number of its own.
bool IsAnotherSpelling(const Location& from, const Location& to);

// The letter-case route: changes the spelling of a name where the above
// holds (EEXIST where it does not) through a visible temporary name in the
// same folder, each step a move that never replaces. So the route proves
// itself: if another entry holds the new spelling, the last step refuses and
// the entry goes back. A plain rename between two spellings is no safe
// shortcut: FAT through FUSE frees the file's data when it does one. An
// entry that a failure leaves under the temporary name is named.
StepResult ChangeSpelling(const Location& from, const Location& to, bool useNoReplaceFlag);

}  // namespace tolvane::posix
