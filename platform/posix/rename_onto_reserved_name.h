#pragma once

#include "platform/posix/route_steps.h"

namespace tolvane::posix {

// The reserved-name route, where the filesystem has neither a no-replace
// rename nor hard links (and for every folder there): the new name is
// reserved with an empty folder, made atomically and so nobody's but ours.
// A folder is renamed over it, which the filesystem refuses while anything
// is in it. A file cannot replace a folder, so the reserving folder is moved
// aside right before the file is renamed onto the name: another program's
// file renamed there in between is replaced, the one window left, one call
// long. Only names that this process made are ever removed; what is on disk
// decides what each step did. Done only when the new name shows the entry.
StepResult RenameOntoReservedName(const Location& from, const Entry& entry, const Location& to);

}  // namespace tolvane::posix
