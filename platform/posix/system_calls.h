#pragma once

#include <stdio.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <optional>

#include "platform/posix/location.h"

namespace tolvane::posix {

// The calls that the routes are made of, each on locations, the names passed
// byte for byte. A call that changes a folder answers errno's value, 0 when
// it was done; the filesystem's answer is only a claim, which the routes
// check against what the looks below find.

// renameat2 with RENAME_NOREPLACE: never replaces what `to` names. Inline,
// as every entry's rename starts with it: its code stays with the renamer's.
inline int RenameNoReplace(const Location& from, const Location& to) {
    return ::renameat2(from.folder(), from.name().c_str(), to.folder(), to.name().c_str(),
                       RENAME_NOREPLACE) == 0
               ? 0
               : errno;
}

// renameat without flags, which replaces what `to` names: only for names that
// nobody else knows or that were just reserved.
int RenamePlainly(const Location& from, const Location& to);

// A second name `to` for what `from` names; refuses rather than replace. A
// symbolic link is linked itself, not its target.
int LinkName(const Location& from, const Location& to);

// An empty folder under a free name, made atomically.
int MakeFolder(const Location& at);

// Drops a name of a file, or removes an empty folder.
int RemoveName(const Location& at);
int RemoveFolder(const Location& at);

// What makes an entry itself: device and inode, looked at without following
// a symbolic link. Kept with the kind so that a file is never taken for a
// folder that happens to reuse its number.
struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    mode_t type = 0;

    bool operator==(const Identity&) const = default;
};

Identity IdentityOf(const struct stat& info);

// The entry's type, mode, device, inode, link count, size and modification
// time, without following a symbolic link, as the filesystem reports them
// now: a FUSE or network filesystem may have carried out a step it reported
// failed, and the kernel's cached view of the name would still show the
// state before it. False (errno set) when nothing is there.
bool StatEntry(const Location& at, struct stat& info);

// The identity of what `at` names now; nothing when nothing is there.
std::optional<Identity> IdentityAt(const Location& at);

// The identity of the folder `at` names its entry in.
std::optional<Identity> FolderIdentity(const Location& at);

// The folder `at` names its entry in is still there (not removed meanwhile).
bool FolderExists(const Location& at);

// Whether the folder lists `at`'s name byte for byte; nothing when the
// listing cannot be read. A name may be found by a lookup and still not be
// listed: on a case-insensitive filesystem another spelling of a listed name
// is found too.
std::optional<bool> IsListed(const Location& at);

// The folder `from` names lies on the path of `to`'s folder (a folder moved
// into itself), which is the true meaning of an EINVAL from the kernel.
bool IsMoveIntoItself(const Location& from, const Location& to);

// The mount that holds the folder of `at`; 0 when it cannot be told.
std::uint64_t MountOf(const Location& at);

}  // namespace tolvane::posix
