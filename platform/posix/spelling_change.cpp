#include "platform/posix/spelling_change.h"

#include <cerrno>
#include <optional>
#include <string>

#include "engine/unicode.h"
#include "platform/posix/careful_rename.h"

namespace tolvane::posix {

namespace {

bool InOneFolder(const Location& a, const Location& b) {
    const std::optional<Identity> first = FolderIdentity(a);
    return first && first == FolderIdentity(b);
}

// The first step: a file by one plain rename to a name only this process
// knows; a folder by the steps that never replace, since FAT through FUSE
// loses a folder's contents when it renames it to a free name, and refuses
// to rename one over an empty folder.
StepResult MoveEntryAside(const Location& from, Location& parked, bool useNoReplaceFlag) {
    struct stat info {};
    if (!StatEntry(from, info)) return {errno, {}};
    if (!S_ISDIR(info.st_mode)) return MoveAside(from, parked);
    if (!TakeFreeName(parked)) return {EEXIST, {}};
    return MoveWithoutReplacing(from, parked, useNoReplaceFlag);
}

StepResult PutBack(const Location& parked, const Location& from, bool useNoReplaceFlag,
                   const StepResult& failure) {
    const StepResult back = MoveWithoutReplacing(parked, from, useNoReplaceFlag);
    if (back.done()) return failure;
    std::string context = "the entry was left as " + Quoted(parked.name());
    if (!failure.context.empty()) context += "; " + failure.context;
    return {failure.error, context};
}

StepResult ChangeThroughTemporary(const Location& from, const Location& to, bool useNoReplaceFlag) {
    Location parked = from.Sibling({});
    const StepResult away = MoveEntryAside(from, parked, useNoReplaceFlag);
    if (!away.done()) {
        if (!IdentityAt(parked)) return away;
        return {away.error, "the entry may be under the temporary name " + Quoted(parked.name()) +
                                "; " + away.context};
    }
    // With the entry away, the move to the new spelling refuses if another
    // entry holds it. It checks by making the name, which FUSE filesystems
    // look up afresh, where a mere lookup may still find the entry that has
    // just moved away.
    const StepResult placed = MoveWithoutReplacing(parked, to, useNoReplaceFlag);
    if (!placed.done()) return PutBack(parked, from, useNoReplaceFlag, placed);
    return {};
}

// The small letter of `c` in the scripts whose letter case filesystems
// ignore: Latin, Greek and Cyrillic; any other character stands for itself.
// A pair unknown here is a name taken, which is refused and changes nothing.
char32_t SmallLetter(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    if ((c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    // Latin Extended-A pairs its letters capital first, mostly on even code points.
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
        return c | 1;
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return c + (c & 1);
    if (c == 0x178) return 0xFF;
    return c;
}

}  // namespace

bool IsLetterCaseChange(std::string_view a, std::string_view b) {
    if (a == b) return false;
    while (!a.empty() && !b.empty()) {
        char32_t x = 0;
        char32_t y = 0;
        std::size_t m = DecodeUtf8(a, x);
        std::size_t n = DecodeUtf8(b, y);
        if (m == 0 || n == 0) {
            // A byte outside UTF-8 stands for itself.
            if (m != n || a[0] != b[0]) return false;
            m = n = 1;
        } else if (SmallLetter(x) != SmallLetter(y)) {
            return false;
        }
        a.remove_prefix(m);
        b.remove_prefix(n);
    }
    return a.empty() && b.empty();
}

bool IsAnotherSpelling(const Location& from, const Location& to) {
    if (!IsLetterCaseChange(from.name(), to.name()) || !IdentityAt(from) || !IdentityAt(to) ||
        !InOneFolder(from, to)) {
        return false;
    }
    // A listing that cannot be read proves nothing.
    return IsListed(from) == true && IsListed(to) == false;
}

StepResult ChangeSpelling(const Location& from, const Location& to, bool useNoReplaceFlag) {
    if (!IsAnotherSpelling(from, to)) return {EEXIST, {}};
    return ChangeThroughTemporary(from, to, useNoReplaceFlag);
}

}  // namespace tolvane::posix
