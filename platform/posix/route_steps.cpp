#include "platform/posix/route_steps.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace tolvane::posix {

namespace {

const char* const kNotDone = "the filesystem reported a step done that it did not do";

// The same file's look. Only taken for identity where inode numbers cannot
// tell.
bool LooksAlike(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_mode == b.st_mode && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

}  // namespace

bool Shows(const Location& at, const Entry& entry) {
    struct stat info {};
    if (!StatEntry(at, info)) return false;
    if (IdentityOf(info) == entry.identity) return true;
    return entry.namesNumbered && LooksAlike(info, entry.look);
}

bool IsAt(const Location& at, const Identity& identity) { return IdentityAt(at) == identity; }

bool IsFree(const Location& at) {
    struct stat info {};
    return !StatEntry(at, info) && errno == ENOENT;
}

StepResult Undone(int error, std::string context) {
    if (error != 0) return {error, std::move(context)};
    return {EIO, context.empty() ? kNotDone : context + " (" + kNotDone + ")"};
}

StepResult RefusedNewName(int error, const Location& from, const Location& to) {
    // Whatever is there now is not ours to remove: a resent call answers
    // "File exists" for its own work.
    if (IdentityAt(to)) return {error, Quoted(to.name()) + " is there and was left as it is"};
    if (error == EEXIST) return {error, {}};
    if (!FolderExists(to) || !IdentityAt(from)) return {error, {}};
    // exFAT through FUSE answers ENOENT, FAT through FUSE EPERM and the
    // kernel's FAT EINVAL for a character such as '?' or ':'.
    if (error == ENOENT || error == EINVAL) {
        return {EINVAL, "the filesystem does not accept the name " + Quoted(to.name())};
    }
    if (error == EPERM) return {EPERM, "the filesystem refused the name " + Quoted(to.name())};
    return {error, {}};
}

bool LacksNoReplaceSupport(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

std::string TemporaryName() {
    static std::atomic<unsigned> counter{0};
    return "tolvane-renaming-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

bool TakeFreeName(Location& at) {
    constexpr int kAttempts = 16;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        at.SetName(TemporaryName());
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

StepResult DropName(const Location& aside) {
    const int error = RemoveName(aside);
    if (IsFree(aside)) return {};  // gone, whatever the reply said
    return Undone(error, "also has the name " + Quoted(aside.name()));
}

std::string Quoted(const std::string& name) { return "\u201C" + name + "\u201D"; }

}  // namespace tolvane::posix
