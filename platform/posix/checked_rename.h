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

// The usual route: one atomic rename that never replaces anything, its
// answer checked on disk where it may mislead. A taken name, or a
// filesystem without that call, goes on to the careful routes, which act on
// the folders this call used: a held one as it is, any other opened for them.
StepResult RenameChecked(const Location& from, const Location& to, const RenameChecks& checks);

}  // namespace tolvane::posix
