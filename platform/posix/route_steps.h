#pragma once

#include <sys/stat.h>

#include <string>

#include "platform/posix/system_calls.h"

namespace tolvane::posix {

// How a step or a route ended: 0 when it was done, otherwise an errno value
// and words on what was found on disk afterwards. Every route answers one;
// the renamer alone turns a failure into the error the user sees.
struct StepResult {
    int error = 0;
    std::string context;

    bool done() const { return error == 0; }
};

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

// `at` names the entry: by inode, or by look (kind, mode, size and
// modification time) where names are numbered.
bool Shows(const Location& at, const Entry& entry);

bool IsAt(const Location& at, const Identity& identity);

// Nothing is under the name: the filesystem says so, not merely fails to say.
bool IsFree(const Location& at);

// The result of a step that answered `error`, 0 meaning success, and yet did
// not end where it should.
StepResult Undone(int error, std::string context = {});

// A name could not be made in `to`'s folder: says why where the disk shows
// it, and leaves whatever is there now, made by this very step or not.
StepResult RefusedNewName(int error, const Location& from, const Location& to);

// Errors with which renameat2 says that it does not know RENAME_NOREPLACE.
bool LacksNoReplaceSupport(int error);

// A fresh name for an entry on its way, visible and recognisable, so that an
// entry left under it by a crash is found again, and short, so that it fits
// wherever the old name did. Nobody else knows it.
std::string TemporaryName();

// Sets in `at` a fresh name (TemporaryName) that nothing in its folder has;
// false when none was found.
bool TakeFreeName(Location& at);

// Moves what `from` names to a fresh name in its folder that only this
// process knows, set in `aside`. Done when something is there afterwards,
// whatever the filesystem answered.
StepResult MoveAside(const Location& from, Location& aside);

// Drops `aside`, a name that only this process knows, of an entry that lives
// on under another name.
StepResult DropName(const Location& aside);

// "“name”" for error texts.
std::string Quoted(const std::string& name);

}  // namespace tolvane::posix
