#include "platform/posix/rename_onto_reserved_name.h"

#include <cerrno>

namespace tolvane::posix {

namespace {

// The empty folder made under the new name to reserve it is still there and
// still ours.
bool IsOurPlaceholder(const Location& at, const Identity& placeholder) {
    struct stat now {};
    return StatEntry(at, now) && IdentityOf(now) == placeholder && now.st_nlink > 0;
}

// Removes the empty folder made under `to`, which fails while anything is in
// it: at most an empty folder that another program put in its place after
// the check could go. (It is not moved aside first: FAT through FUSE loses
// the contents of a folder it renames to a free name.)
StepResult RemovePlaceholder(const Location& to, const Identity& placeholder) {
    if (!IsOurPlaceholder(to, placeholder)) return {};
    const int error = RemoveFolder(to);
    if (!IsAt(to, placeholder)) return {};
    return Undone(error, "the empty placeholder folder " + Quoted(to.name()) + " was left");
}

// After the rename onto the reserved name: the new name and the old tell
// whether it was done, whatever the reply; if not, the placeholder goes.
StepResult AfterMoveOntoReservation(int error, const Location& from, const Entry& entry,
                                    const Location& to, const Identity& placeholder) {
    const bool underOld = IsAt(from, entry.identity);
    if (!underOld && IsAt(to, entry.identity)) return {};
    if (!underOld) {
        return {error != 0 ? error : EIO,
                "the entry is under neither name as it was looked "
                "for; nothing was removed"};
    }
    StepResult result = Undone(error);
    if (S_ISDIR(entry.identity.type) && error == EPERM) {
        result.context =
            "the filesystem refuses to put a folder in place of the empty folder that "
            "reserved its new name, so it cannot rename folders safely";
    }
    const StepResult removed = RemovePlaceholder(to, placeholder);
    if (!removed.done()) {
        result.context += (result.context.empty() ? "" : "; ") + removed.context;
    }
    return result;
}

// Removes the reserving folder after it was moved aside to `aside`, unless
// what went there is not it (another program's folder put in its place).
StepResult DropMovedPlaceholder(const Location& aside, const Identity& placeholder) {
    if (IsFree(aside)) return {};
    if (!IsOurPlaceholder(aside, placeholder)) {
        return {EEXIST, "what stood under the new name was moved to " + Quoted(aside.name())};
    }
    const int error = RemoveFolder(aside);
    if (IsFree(aside)) return {};
    return Undone(error, "the empty placeholder folder was left as " + Quoted(aside.name()));
}

// While the reserving folder stands, another program's rename of a file onto
// the name fails, and anything put into the folder keeps it in place.
StepResult MoveFileOntoReservation(const Location& from, const Entry& entry, const Location& to,
                                   const Identity& placeholder) {
    Location aside = to.Sibling({});
    if (!TakeFreeName(aside)) return {EEXIST, {}};
    // Whatever this answers, nothing is looked at before the rename that
    // follows: it fails as long as a folder stands under the new name.
    RenamePlainly(to, aside);
    StepResult result =
        AfterMoveOntoReservation(RenamePlainly(from, to), from, entry, to, placeholder);
    const StepResult dropped = DropMovedPlaceholder(aside, placeholder);
    if (!dropped.done()) {
        if (result.done()) return {dropped.error, "renamed, but " + dropped.context};
        result.context += (result.context.empty() ? "" : "; ") + dropped.context;
    }
    return result;
}

}  // namespace

StepResult RenameOntoReservedName(const Location& from, const Entry& entry, const Location& to) {
    const int made = MakeFolder(to);
    if (made != 0) return RefusedNewName(made, from, to);
    const std::optional<Identity> placeholder = IdentityAt(to);
    if (!placeholder || !S_ISDIR(placeholder->type)) {
        return {EEXIST, Quoted(to.name()) + " was changed meanwhile and was left as it is"};
    }
    // A folder goes over the placeholder: the filesystem refuses that while
    // anything is in it, so at most an empty folder that another program
    // renamed onto the name since it was made could be replaced.
    if (S_ISDIR(entry.identity.type)) {
        return AfterMoveOntoReservation(RenamePlainly(from, to), from, entry, to, *placeholder);
    }
    return MoveFileOntoReservation(from, entry, to, *placeholder);
}

}  // namespace tolvane::posix
