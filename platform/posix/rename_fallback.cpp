#include "platform/posix/rename_fallback.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tolvane::posix {

namespace {

// The entry being moved, as first seen: who it is, how many names it has,
// and what it looks like.
struct Entry {
    explicit Entry(const struct stat& info)
        : identity(IdentityOf(info)), links(info.st_nlink), look(info) {}

    Identity identity;
    nlink_t links = 0;
    struct stat look;
    // Set where a filesystem gives each name its own inode number, as sshfs
    // does, so that a second name of the file shows another number.
    bool namesNumbered = false;
};

// The same file's look: kind, mode, size and modification time. Only taken
// for identity where inode numbers cannot tell.
bool LooksAlike(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_mode == b.st_mode && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// `at` names the entry: by inode, or by look where names are numbered.
bool Shows(const Location& at, const Entry& entry) {
    struct stat info {};
    if (!StatEntry(at, info)) return false;
    if (IdentityOf(info) == entry.identity) return true;
    return entry.namesNumbered && LooksAlike(info, entry.look);
}

const char* const kNotDone = "the filesystem reported a step done that it did not do";

// linkat's ways of saying that a filesystem has no hard links; FUSE passed
// on ENOSYS for them before a kernel change of 2025, as many kernels still do.
bool LacksHardLinks(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == EMLINK || error == ENOSYS;
}

bool IsAt(const Location& at, const Identity& identity) { return IdentityAt(at) == identity; }

// Nothing is under the name: the filesystem says so, not merely fails to say.
bool IsFree(const Location& at) {
    struct stat info {};
    return !StatEntry(at, info) && errno == ENOENT;
}

// The error of a step that answered `error`, 0 meaning success, and yet did
// not end where it should.
StepResult Undone(int error, std::string context = {}) {
    if (error != 0) return {error, std::move(context)};
    return {EIO, context.empty() ? kNotDone : context + " (" + kNotDone + ")"};
}

// renameat with no flags, which replaces what the new name holds: only for
// names that nobody else knows or that were just reserved; the errno value,
// 0 on success.
int RenamePlainly(const Location& from, const Location& to) {
    return ::renameat(from.directory.get(), from.name.c_str(), to.directory.get(),
                      to.name.c_str()) == 0
               ? 0
               : errno;
}

std::string BothNames(const Location& from, const Location& to) {
    return "the file now has both names, " + Quoted(from.name) + " and " + Quoted(to.name);
}

// A name could not be made in a folder that we hold.
StepResult RefusedNewName(int error, const Location& from, const Location& to) {
    // Whatever is there now, made by this very step or not, is not ours to
    // remove: a resent call answers "File exists" for its own work.
    if (IdentityAt(to)) return {error, Quoted(to.name) + " is there and was left as it is"};
    if (error == EEXIST) return {error, {}};
    struct stat folder {};
    const bool folderExists = ::fstat(to.directory.get(), &folder) == 0 && folder.st_nlink > 0;
    if (!folderExists || !IdentityAt(from)) return {error, {}};
    // exFAT through FUSE answers ENOENT, FAT through FUSE EPERM and the
    // kernel's FAT EINVAL for a character such as '?' or ':'.
    if (error == ENOENT || error == EINVAL) {
        return {EINVAL, "the filesystem does not accept the name " + Quoted(to.name)};
    }
    if (error == EPERM) return {EPERM, "the filesystem refused the name " + Quoted(to.name)};
    return {error, {}};
}

// Drops `aside`, a name that only this process knows, of an entry that lives
// on under another name.
StepResult DropName(const Location& aside) {
    const int error = ::unlinkat(aside.directory.get(), aside.name.c_str(), 0) == 0 ? 0 : errno;
    if (IsFree(aside)) return {};  // gone, whatever the reply said
    return Undone(error, "also has the name " + Quoted(aside.name));
}

// Gives the entry under `aside` its name `at` again by a link, which never
// replaces, and drops `aside`. Says where the entry stays when it cannot
// (words that follow the entry's own in an error).
StepResult LinkBack(const Location& aside, const Location& at, bool namesNumbered) {
    struct stat info {};
    if (!StatEntry(aside, info)) return {};
    Entry parked(info);
    parked.namesNumbered = namesNumbered;
    const int error = ::linkat(aside.directory.get(), aside.name.c_str(), at.directory.get(),
                               at.name.c_str(), 0) == 0
                          ? 0
                          : errno;
    if (!Shows(at, parked)) return Undone(error, "was left as " + Quoted(aside.name));
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
    Location aside = SameFolder(from, {});
    const StepResult moved = MoveAside(from, aside);
    if (!moved.done()) return {moved.error, BothNames(from, to)};
    if (!Shows(aside, entry)) {
        const StepResult back = LinkBack(aside, from, entry.namesNumbered);
        if (!back.done()) {
            return {back.error, "another program saved " + Quoted(from.name) +
                                    " meanwhile, and its file " + back.context};
        }
    } else if (!Shows(to, entry)) {
        // Another program replaced the new name: the file keeps its old one.
        const StepResult back = LinkBack(aside, from, entry.namesNumbered);
        return {EEXIST, Quoted(to.name) + " was replaced by another program meanwhile" +
                            (back.done() ? "" : "; the file " + back.context)};
    } else {
        // The new name was just seen to show the file: no second look.
        const StepResult dropped = DropName(aside);
        if (!dropped.done()) return {dropped.error, "renamed, but the file " + dropped.context};
        return {};
    }
    // Only where another program's save went back: the new name's last look.
    if (!Shows(to, entry)) {
        return {EIO, Quoted(to.name) + " did not show the file at the end"};
    }
    return {};
}

// Nothing when the filesystem has no hard links.
std::optional<StepResult> MoveFileByLink(const Location& from, Entry entry, const Location& to) {
    // linkat fails with EEXIST rather than replace; flags 0 links a symbolic
    // link itself, not its target.
    const int error = ::linkat(from.directory.get(), from.name.c_str(), to.directory.get(),
                               to.name.c_str(), 0) == 0
                          ? 0
                          : errno;
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
        return StepResult{EIO, Quoted(to.name) +
                                   " did not show the file after linking it there; both names "
                                   "were left as they are"};
    }
    return RefusedNewName(error, from, to);
}

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
    const int error =
        ::unlinkat(to.directory.get(), to.name.c_str(), AT_REMOVEDIR) == 0 ? 0 : errno;
    if (!IsAt(to, placeholder)) return {};
    return Undone(error, "the empty placeholder folder " + Quoted(to.name) + " was left");
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
        return {EEXIST, "what stood under the new name was moved to " + Quoted(aside.name)};
    }
    const int error =
        ::unlinkat(aside.directory.get(), aside.name.c_str(), AT_REMOVEDIR) == 0 ? 0 : errno;
    if (IsFree(aside)) return {};
    return Undone(error, "the empty placeholder folder was left as " + Quoted(aside.name));
}

// A file cannot replace a folder, so while the reserving folder stands,
// another program's rename of a file onto the name fails, and anything put
// into the folder keeps it in place. Right before the file is renamed onto
// the name, the folder is moved to a name that only this process knows.
// What another program renames onto the name between those two renames is
// replaced: without hard links or a no-replace rename no route is free of
// such a window, and this one lasts one call to the filesystem.
StepResult MoveFileOntoReservation(const Location& from, const Entry& entry, const Location& to,
                                   const Identity& placeholder) {
    Location aside = SameFolder(to, {});
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

// Reserves the new name with an empty folder, which is made atomically and
// so can be nothing but ours, then moves the entry onto it.
StepResult MoveOntoReservation(const Location& from, const Entry& entry, const Location& to) {
    if (::mkdirat(to.directory.get(), to.name.c_str(), 0700) != 0) {
        return RefusedNewName(errno, from, to);
    }
    const std::optional<Identity> placeholder = IdentityAt(to);
    if (!placeholder || !S_ISDIR(placeholder->type)) {
        return {EEXIST, Quoted(to.name) + " was changed meanwhile and was left as it is"};
    }
    // A folder goes over the placeholder: the filesystem refuses that while
    // anything is in it, so at most an empty folder that another program
    // renamed onto the name since it was made could be replaced.
    if (S_ISDIR(entry.identity.type)) {
        return AfterMoveOntoReservation(RenamePlainly(from, to), from, entry, to, *placeholder);
    }
    return MoveFileOntoReservation(from, entry, to, *placeholder);
}

}  // namespace

bool LacksNoReplaceSupport(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

bool TakeFreeName(Location& at) {
    constexpr int kAttempts = 16;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        at.name = TemporaryName();
        if (IsFree(at)) return true;
    }
    return false;
}

StepResult MoveAside(const Location& from, Location& aside) {
    if (!TakeFreeName(aside)) return {EEXIST, {}};
    // A plain rename: nobody else puts anything under a name they do not
    // know, so it replaces nothing, and the name tells whether it was done.
    const int error = RenamePlainly(from, aside);
    if (IdentityAt(aside)) return {};
    return Undone(error);
}

StepResult MoveWithoutNoReplaceFlag(const Location& from, const Location& to) {
    struct stat info {};
    if (!StatEntry(from, info)) return {errno, {}};
    const Entry entry(info);
    if (!S_ISDIR(info.st_mode)) {
        if (std::optional<StepResult> linked = MoveFileByLink(from, entry, to)) return *linked;
    }
    return MoveOntoReservation(from, entry, to);
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
