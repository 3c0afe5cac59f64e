#pragma once

#include "platform/posix/rename_steps.h"

namespace tolvane::posix {

// Errors with which renameat2 says that it does not know RENAME_NOREPLACE.
bool LacksNoReplaceSupport(int error);

// Sets in `at` a fresh name (TemporaryName) that nothing in its folder has;
// false when none was found.
bool TakeFreeName(Location& at);

// Moves what `from` names to a fresh name in its folder that only this
// process knows (TemporaryName), set in `aside`. Done when something is there
// afterwards, whatever the filesystem answered.
StepResult MoveAside(const Location& from, Location& aside);

// Moves `from` to `to` on a filesystem without RENAME_NOREPLACE, never
// replacing what `to` names. A file is hard-linked under the new name, and
// the old name is then moved aside and dropped. Without hard links, the new
// name is reserved with an empty folder, which is moved aside right before
// the file is renamed onto the name: another program's file renamed there
// in between is replaced, the one window left. A folder is renamed over such
// an empty folder. Only names that this process made are ever removed; when
// a step answers, what is on disk decides what it did. Done only when the
// new name shows the entry.
StepResult MoveWithoutNoReplaceFlag(const Location& from, const Location& to);

// One no-replace call, or the steps above where the filesystem lacks it.
StepResult MoveWithoutReplacing(const Location& from, const Location& to, bool useNoReplaceFlag);

}  // namespace tolvane::posix
