#include "platform/posix/spelling_change.h"

#include <stdio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "platform/posix/rename_fallback.h"

namespace tolvane::posix {

namespace {

bool InOneFolder(const Location& a, const Location& b) {
    struct stat first {};
    struct stat second {};
    return ::fstat(a.directory.get(), &first) == 0 && ::fstat(b.directory.get(), &second) == 0 &&
           IdentityOf(first) == IdentityOf(second);
}

// Visible and recognisable, so that an entry left under it by a crash is
// found again; short, so that it fits wherever the old name did.
std::string TemporaryName() {
    static std::atomic<unsigned> counter{0};
    return "tolvane-renaming-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

[[noreturn]] void PutBack(const RenameRequest& request, const Location& parked,
                          const Location& from, bool useNoReplaceFlag, const StepResult& failure) {
    const StepResult back = MoveWithoutReplacing(parked, from, useNoReplaceFlag);
    if (!back.done()) {
        std::string context = "the entry was left as " + Quoted(parked.name);
        if (!failure.context.empty()) context += "; " + failure.context;
        request.Fail(failure.error, context);
    }
    request.Fail(failure.error, failure.context);
}

void ChangeThroughTemporary(const RenameRequest& request, const Location& from, const Location& to,
                            bool useNoReplaceFlag) {
    constexpr int kAttempts = 16;
    Location parked = posix::SameFolder(from, {});
    StepResult away{EEXIST, {}};
    for (int attempt = 0; attempt < kAttempts && away.error == EEXIST; ++attempt) {
        parked.name = TemporaryName();
        away = MoveWithoutReplacing(from, parked, useNoReplaceFlag);
    }
    if (!away.done()) {
        if (!IdentityAt(parked)) request.Fail(away.error, away.context);
        request.Fail(away.error, "the entry may be under the temporary name " +
                                     Quoted(parked.name) + "; " + away.context);
    }
    // With the entry away, the move to the new spelling refuses if another
    // entry holds it. It checks by making the name, which FUSE filesystems
    // look up afresh, where a mere lookup may still find the entry that has
    // just moved away.
    const StepResult placed = MoveWithoutReplacing(parked, to, useNoReplaceFlag);
    if (!placed.done()) PutBack(request, parked, from, useNoReplaceFlag, placed);
}

}  // namespace

bool IsAnotherSpelling(const Location& from, const Location& to) {
    const std::optional<Identity> entry = IdentityAt(from);
    const std::optional<Identity> found = IdentityAt(to);
    if (from.name == to.name || !entry || !found || !InOneFolder(from, to)) return false;
    return IsListed(from) && !IsListed(to);
}

void ChangeSpelling(const RenameRequest& request, const Location& from, const Location& to,
                    bool useNoReplaceFlag) {
    if (!IsAnotherSpelling(from, to)) request.Fail(EEXIST);
    ChangeThroughTemporary(request, from, to, useNoReplaceFlag);
}

}  // namespace tolvane::posix
