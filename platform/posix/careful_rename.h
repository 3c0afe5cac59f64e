#pragma once

#include "platform/posix/route_steps.h"

namespace tolvane::posix {

// After the no-replace call answered `error` (EEXIST, or that the filesystem
// does not know the call): a change of letter case of the entry's own name
// goes through a temporary name, and where the call is missing the entry is
// moved by the link route or the reserved-name route. A name taken by
// another entry is refused, changing nothing.
StepResult RenameCarefully(const Location& from, const Location& to, int error,
                           bool useNoReplaceFlag);

// Moves `from` to `to` where the filesystem lacks RENAME_NOREPLACE, never
// replacing what `to` names: a file by the link route where there are hard
// links, anything else by the reserved-name route.
StepResult MoveWithoutNoReplaceFlag(const Location& from, const Location& to);

// One no-replace call, checked against the disk, or the steps above where
// the filesystem lacks it.
StepResult MoveWithoutReplacing(const Location& from, const Location& to, bool useNoReplaceFlag);

}  // namespace tolvane::posix
