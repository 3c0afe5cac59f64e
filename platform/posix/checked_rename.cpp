#include "platform/posix/checked_rename.h"

#include <cerrno>
#include <cstdint>
#include <optional>

#include "platform/posix/careful_rename.h"

namespace tolvane::posix {

namespace {

bool Shows(const Location& at) {
    struct stat info {};
    return StatEntry(at, info);
}

// Where the filesystem may answer a rename done that it did not do, both
// names are looked at, past the kernel's cache, before the rename counts.
// (A change of letter case alone is never answered done there: the kernel
// refuses it as a name taken before the filesystem is asked.)
StepResult ConfirmRenamed(const Location& from, const Location& to) {
    if (!Shows(to) || Shows(from)) {
        return {EIO, "the filesystem reported the rename done, but did not do it"};
    }
    return {};
}

// A network mount may answer a rename it carried out with an error (a resent
// call finds its own work done): the entry then shows under its new name
// only, and the rename counts as done. Some answer EIO for any refusal,
// one of a name they cannot hold among them: that is said. Nothing where
// the answer stands as it is.
std::optional<StepResult> WasDoneAfterAll(int error, const Location& from, const Location& to) {
    if (error != ENOENT && error != EEXIST && error != EIO) return std::nullopt;
    const bool oldShows = Shows(from);
    const bool newShows = Shows(to);
    if (newShows && !oldShows) return StepResult{};
    if (error == EIO && oldShows && !newShows) {
        return StepResult{EIO, "the filesystem could not make the name " + Quoted(to.name()) +
                                   ", which it may not accept; nothing was changed"};
    }
    return std::nullopt;
}

// EXDEV: the new name lies on another mount, or, within one, the filesystem
// cannot move the entry where it is (an overlay, a folder from its lower
// layer). Either way nothing changed, and nothing is copied.
StepResult AcrossMounts(const Location& from, const Location& to) {
    const std::uint64_t mount = MountOf(from);
    if (mount != 0 && mount == MountOf(to)) {
        return {EXDEV,
                "this filesystem cannot rename this entry where it is, as an overlay "
                "cannot rename a folder of its lower layer; nothing was changed"};
    }
    return {EXDEV,
            "the new name is on another disk or mount, and entries are never copied and "
            "deleted; nothing was changed"};
}

StepResult RenameCarefullyIn(const Location& from, const Location& to, int error,
                             bool useNoReplaceFlag) {
    Location openedFrom;
    Location openedTo;
    if (from.IsWholePath()) {
        if (const int failed = OpenFolderOf(from, openedFrom)) return {failed, {}};
    }
    if (to.IsWholePath()) {
        if (const int failed = OpenFolderOf(to, openedTo)) return {failed, {}};
    }
    return RenameCarefully(from.IsWholePath() ? openedFrom : from, to.IsWholePath() ? openedTo : to,
                           error, useNoReplaceFlag);
}

}  // namespace

StepResult FollowAnswer(int error, const Location& from, const Location& to,
                        const RenameChecks& checks) {
    if (error == 0) return checks.answerMayMislead ? ConfirmRenamed(from, to) : StepResult{};
    if (checks.answerMayMislead) {
        if (std::optional<StepResult> after = WasDoneAfterAll(error, from, to)) return *after;
    }
    if (error == EXDEV) return AcrossMounts(from, to);
    if (error != EEXIST && !LacksNoReplaceSupport(error)) return {error, {}};
    return RenameCarefullyIn(from, to, error, checks.useNoReplaceFlag);
}

}  // namespace tolvane::posix
