#include "platform/posix/rename_fallback.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tolvane::posix {

namespace {

// The entry being moved, as first seen: who it is and how many names it has.
struct Entry {
    Identity identity;
    nlink_t links = 0;
};

bool LacksHardLinks(int error) { return error == EPERM || error == EOPNOTSUPP || error == EMLINK; }

// The entry is still under `at`: the filesystem reports it there now, and the
// folder lists the name.
bool IsStillUnder(const Location& at, const Entry& entry) {
    return IdentityAt(at) == entry.identity && IsListed(at);
}

nlink_t LinkCount(const Location& at) {
    struct stat info {};
    return StatEntry(at, info) ? info.st_nlink : 0;
}

// A name could not be made in a folder that we hold.
StepResult RefusedNewName(int error, const Location& from, const Location& to) {
    if (error == EEXIST) return {error, {}};
    // Reported failed but made all the same: not ours to remove.
    if (IdentityAt(to)) return {error, Quoted(to.name) + " exists now and was left as it is"};
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

std::string BothNames(const Location& from, const Location& to) {
    return "the file now has both names, " + Quoted(from.name) + " and " + Quoted(to.name);
}

// After an unlink of the old name reported a failure: the file had both names
// before it, so look which ones it has now.
StepResult AfterFailedUnlink(int error, const Location& from, const Entry& entry,
                             const Location& to) {
    const bool underOld = IsStillUnder(from, entry);
    const bool underNew = IdentityAt(to) == entry.identity;
    // Carried out, and only the reply was lost (a network filesystem resending
    // the call answers ENOENT).
    if (!underOld && underNew) return {};
    if (underOld && !underNew) return {error, {}};
    if (!underOld) return {error, "the file is under neither name; nothing was removed"};
    // Both names: the new one may go, since the file lives on under the old,
    // and its link count still counts both.
    if (LinkCount(to) < entry.links + 1) return {error, BothNames(from, to)};
    ::unlinkat(to.directory.get(), to.name.c_str(), 0);
    if (IdentityAt(to) == entry.identity) return {error, BothNames(from, to)};
    return {error, {}};
}

StepResult RemoveOldName(const Location& from, const Entry& entry, const Location& to) {
    // The old name goes only while the new one is shown to be the same file.
    if (IdentityAt(to) != entry.identity || IdentityAt(from) != entry.identity) {
        return {EIO,
                "the new name does not show the file after linking it, so nothing was "
                "removed; the file may now have both names, " +
                    Quoted(from.name) + " and " + Quoted(to.name)};
    }
    if (::unlinkat(from.directory.get(), from.name.c_str(), 0) == 0) return {};
    return AfterFailedUnlink(errno, from, entry, to);
}

// Nothing when the filesystem has no hard links.
std::optional<StepResult> MoveFileByLink(const Location& from, const Entry& entry,
                                         const Location& to) {
    // linkat fails with EEXIST rather than replace; flags 0 links a symbolic
    // link itself, not its target.
    if (::linkat(from.directory.get(), from.name.c_str(), to.directory.get(), to.name.c_str(), 0) ==
        0) {
        return RemoveOldName(from, entry, to);
    }
    const int error = errno;
    if (LacksHardLinks(error)) return std::nullopt;
    // A link reported failed may still have been made; two names lose nothing.
    if (error != EEXIST && IdentityAt(to) == entry.identity) {
        return StepResult{error, BothNames(from, to)};
    }
    return RefusedNewName(error, from, to);
}

// The placeholder made under the new name is still there, still ours and, for
// a file, still empty.
bool IsUntouchedPlaceholder(const Location& to, const Identity& placeholder) {
    struct stat now {};
    return StatEntry(to, now) && IdentityOf(now) == placeholder && now.st_nlink > 0 &&
           (S_ISDIR(now.st_mode) || now.st_size == 0);
}

// After a rename over the placeholder reported a failure.
StepResult AfterFailedMoveOverPlaceholder(int error, const Location& from, const Entry& entry,
                                          const Location& to, const Identity& placeholder) {
    const bool underOld = IsStillUnder(from, entry);
    const std::optional<Identity> atNew = IdentityAt(to);
    if (!underOld && atNew == entry.identity) return {};  // carried out; only the reply was lost
    if (!underOld) return {error, "the entry is no longer under its old name; nothing was removed"};
    if (!IsUntouchedPlaceholder(to, placeholder)) {
        if (!atNew) return {error, {}};
        return {error, Quoted(to.name) + " was changed meanwhile and was left as it is"};
    }
    // Only an empty folder can be removed this way, and a file only while
    // the checks above show it is still the empty one made here.
    const int flags = S_ISDIR(placeholder.type) ? AT_REMOVEDIR : 0;
    ::unlinkat(to.directory.get(), to.name.c_str(), flags);
    if (IdentityAt(to) == placeholder) {
        return {error, "the empty placeholder " + Quoted(to.name) + " was left"};
    }
    if (S_ISDIR(entry.identity.type) && error == EPERM) {
        return {error,
                "the filesystem refuses to put a folder in place of the empty folder that "
                "reserved its new name, so it cannot rename folders safely"};
    }
    return {error, {}};
}

// The placeholder is made atomically, so it can be nothing but ours; the
// plain rename over it then replaces nothing but that empty entry. A file
// placeholder could be written to by another program between the check and
// the rename: the one window that remains.
StepResult MoveOverPlaceholder(const Location& from, const Entry& entry, const Location& to,
                               const Identity& placeholder) {
    if (!IsUntouchedPlaceholder(to, placeholder)) {
        return {EEXIST, Quoted(to.name) + " was changed meanwhile and was left as it is"};
    }
    if (::renameat(from.directory.get(), from.name.c_str(), to.directory.get(), to.name.c_str()) ==
        0) {
        return {};
    }
    return AfterFailedMoveOverPlaceholder(errno, from, entry, to, placeholder);
}

// Who the just-made placeholder is. Its descriptor is closed before the
// rename: FUSE filesystems would otherwise first move a replaced open file
// to a hidden name of their own.
std::optional<Identity> PlaceholderIdentity(UniqueFd held) {
    struct stat info {};
    if (!held.valid() || ::fstat(held.get(), &info) != 0) return std::nullopt;
    return IdentityOf(info);
}

StepResult MoveFileOverReservation(const Location& from, const Entry& entry, const Location& to) {
    UniqueFd held(::openat(to.directory.get(), to.name.c_str(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!held.valid()) return RefusedNewName(errno, from, to);
    const std::optional<Identity> placeholder = PlaceholderIdentity(std::move(held));
    if (!placeholder) return {errno, "an empty placeholder may be left as " + Quoted(to.name)};
    return MoveOverPlaceholder(from, entry, to, *placeholder);
}

StepResult MoveFolderOverReservation(const Location& from, const Entry& entry, const Location& to) {
    if (::mkdirat(to.directory.get(), to.name.c_str(), 0700) != 0) {
        return RefusedNewName(errno, from, to);
    }
    const std::optional<Identity> placeholder = PlaceholderIdentity(UniqueFd(::openat(
        to.directory.get(), to.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)));
    if (!placeholder) return {errno, "an empty placeholder may be left as " + Quoted(to.name)};
    return MoveOverPlaceholder(from, entry, to, *placeholder);
}

}  // namespace

bool LacksNoReplaceSupport(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

StepResult MoveWithoutNoReplaceFlag(const Location& from, const Location& to) {
    struct stat info {};
    if (!StatEntry(from, info)) return {errno, {}};
    const Entry entry{IdentityOf(info), info.st_nlink};
    if (S_ISDIR(info.st_mode)) return MoveFolderOverReservation(from, entry, to);
    if (std::optional<StepResult> linked = MoveFileByLink(from, entry, to)) return *linked;
    return MoveFileOverReservation(from, entry, to);
}

StepResult MoveWithoutReplacing(const Location& from, const Location& to, bool useNoReplaceFlag) {
    if (useNoReplaceFlag) {
        const int error = RenameNoReplace(from, to);
        if (!LacksNoReplaceSupport(error)) return {error, {}};
    }
    return MoveWithoutNoReplaceFlag(from, to);
}

}  // namespace tolvane::posix
