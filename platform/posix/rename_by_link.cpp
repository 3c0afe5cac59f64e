#include "platform/posix/rename_by_link.h"

#include <cerrno>

namespace tolvane::posix {

namespace {

// linkat's ways of saying that a filesystem has no hard links; FUSE passed
// on ENOSYS for them before a kernel change of 2025, as many kernels still do.
bool LacksHardLinks(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == EMLINK || error == ENOSYS;
}

std::string BothNames(const Location& from, const Location& to) {
    return "the file now has both names, " + Quoted(from.name()) + " and " + Quoted(to.name());
}

// Gives the entry under `aside` its name `at` again by a link, which never
// replaces, and drops `aside`. Says where the entry stays when it cannot
// (words that follow the entry's own in an error).
StepResult LinkBack(const Location& aside, const Location& at, bool namesNumbered) {
    struct stat info {};
    if (!StatEntry(aside, info)) return {};
    Entry parked(info);
    parked.namesNumbered = namesNumbered;
    const int error = LinkName(aside, at);
    if (!Shows(at, parked)) return Undone(error, "was left as " + Quoted(aside.name()));
    return DropName(aside);
}

// Where the link was made although the reply said otherwise: the new name
// shows the file, and the file has one name more than before. A name that
// was the file's own before (a hard link) leaves the count as it was.
bool IsLinkedAt(const Location& to, const Entry& entry) {
    struct stat info {};
    return StatEntry(to, info) && IdentityOf(info) == entry.identity && info.st_nlink > entry.links;
}

// With the file under both names, the old one goes. It is first moved to a
// name that only this process knows: what another program saved under the
// old name since the link (an editor's atomic save) is then moved, not
// removed, and goes back; only the file's own extra name is dropped.
StepResult RetireOldName(const Location& from, const Entry& entry, const Location& to) {
    Location aside = from.Sibling({});
    const StepResult moved = MoveAside(from, aside);
    if (!moved.done()) return {moved.error, BothNames(from, to)};
    if (!Shows(aside, entry)) {
        const StepResult back = LinkBack(aside, from, entry.namesNumbered);
        if (!back.done()) {
            return {back.error, "another program saved " + Quoted(from.name()) +
                                    " meanwhile, and its file " + back.context};
        }
    } else if (!Shows(to, entry)) {
        // Another program replaced the new name: the file keeps its old one.
        const StepResult back = LinkBack(aside, from, entry.namesNumbered);
        return {EEXIST, Quoted(to.name()) + " was replaced by another program meanwhile" +
                            (back.done() ? "" : "; the file " + back.context)};
    } else {
        // The new name was just seen to show the file: no second look.
        const StepResult dropped = DropName(aside);
        if (!dropped.done()) return {dropped.error, "renamed, but the file " + dropped.context};
        return {};
    }
    // Only where another program's save went back: the new name's last look.
    if (!Shows(to, entry)) {
        return {EIO, Quoted(to.name()) + " did not show the file at the end"};
    }
    return {};
}

}  // namespace

std::optional<StepResult> RenameByLink(const Location& from, Entry entry, const Location& to) {
    const int error = LinkName(from, to);
    if (LacksHardLinks(error)) return std::nullopt;
    // Answered done, the new name must show the file; answered failed, it
    // must also have gained a name.
    if (error == 0 ? IsAt(to, entry.identity) : IsLinkedAt(to, entry)) {
        return RetireOldName(from, entry, to);
    }
    if (error == 0) {
        // A filesystem that numbers names shows the new one with a number of
        // its own: the file is known by its look from here on.
        entry.namesNumbered = true;
        if (Shows(to, entry)) return RetireOldName(from, entry, to);
        return StepResult{EIO, Quoted(to.name()) +
                                   " did not show the file after linking it there; both names "
                                   "were left as they are"};
    }
    return RefusedNewName(error, from, to);
}

}  // namespace tolvane::posix
