#pragma once

#include "platform/posix/route_steps.h"

namespace tolvane::posix {

struct RenameChecks {
    // The folder lies on a FUSE or network filesystem, which may answer a
    // call done that it did not do, or failed when it did it.
    bool answerMayMislead = false;
    // False to behave as on a filesystem without RENAME_NOREPLACE (tests).
    bool useNoReplaceFlag = true;
};

// After the no-replace rename answered `error` (0 too, where the answer may
// mislead): the answer checked on disk where it may mislead. A taken name,
// or a filesystem without that call, goes on to the careful routes, which
// act on the folders the call used: a held one as it is, any other opened
// for them.
StepResult FollowAnswer(int error, const Location& from, const Location& to,
                        const RenameChecks& checks);

// The usual route: one atomic rename that never replaces anything, then the
// above where the answer asks for it. Inline, as it runs for every entry.
inline StepResult RenameChecked(const Location& from, const Location& to,
                                const RenameChecks& checks) {
    const int error = checks.useNoReplaceFlag ? RenameNoReplace(from, to) : EINVAL;
    if (error == 0 && !checks.answerMayMislead) return {};
    return FollowAnswer(error, from, to, checks);
}

}  // namespace tolvane::posix
