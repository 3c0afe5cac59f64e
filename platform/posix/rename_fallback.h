#pragma once

#include "platform/posix/rename_steps.h"

namespace tolvane::posix {

// Errors with which renameat2 says that it does not know RENAME_NOREPLACE.
bool LacksNoReplaceSupport(int error);

// Moves `from` to `to` on a filesystem without RENAME_NOREPLACE, never
// replacing what `to` names. A file is hard-linked under the new name and
// then unlinked; without hard links it is renamed over an empty file made
// under the new name just before. A folder is renamed over an empty folder
// made the same way. No name is removed unless the entry is shown to live on
// under the other one, or it is the placeholder made here; when a step
// reports a failure, what is on disk decides what is undone.
StepResult MoveWithoutNoReplaceFlag(const Location& from, const Location& to);

// One no-replace call, or the steps above where the filesystem lacks it.
StepResult MoveWithoutReplacing(const Location& from, const Location& to, bool useNoReplaceFlag);

}  // namespace tolvane::posix
