#include "platform/posix/careful_rename.h"

#include <cerrno>
#include <optional>

#include "platform/posix/rename_by_link.h"
#include "platform/posix/rename_onto_reserved_name.h"
#include "platform/posix/spelling_change.h"

namespace tolvane::posix {

StepResult RenameCarefully(const Location& from, const Location& to, int error,
                           bool useNoReplaceFlag) {
    if (error != EEXIST) {
        if (IsMoveIntoItself(from, to)) return {EINVAL, "a folder cannot move into itself"};
        StepResult moved = MoveWithoutNoReplaceFlag(from, to);
        if (moved.done()) return moved;
        // A taken name, unless it is the entry's own under another spelling.
        if (moved.error != EEXIST || !IsAnotherSpelling(from, to)) return moved;
    }
    return ChangeSpelling(from, to, useNoReplaceFlag);
}

StepResult MoveWithoutNoReplaceFlag(const Location& from, const Location& to) {
    struct stat info {};
    if (!StatEntry(from, info)) return {errno, {}};
    const Entry entry(info);
    if (!S_ISDIR(info.st_mode)) {
        if (std::optional<StepResult> linked = RenameByLink(from, entry, to)) return *linked;
    }
    return RenameOntoReservedName(from, entry, to);
}

StepResult MoveWithoutReplacing(const Location& from, const Location& to, bool useNoReplaceFlag) {
    if (!useNoReplaceFlag) return MoveWithoutNoReplaceFlag(from, to);
    const std::optional<Identity> entry = IdentityAt(from);
    const int error = RenameNoReplace(from, to);
    if (LacksNoReplaceSupport(error)) return MoveWithoutNoReplaceFlag(from, to);
    // Done when the new name shows the entry and the old one does not,
    // whatever the answer: a network mount may answer a resent call that
    // finds its own work done with ENOENT or EEXIST.
    if (error != 0 && error != ENOENT && error != EEXIST && error != EIO) return {error, {}};
    if (entry && IsAt(to, *entry) && !IsAt(from, *entry)) return {};
    return Undone(error);
}

}  // namespace tolvane::posix
