#pragma once

#include <optional>

#include "platform/posix/route_steps.h"

namespace tolvane::posix {

// The link route, for a file where the filesystem has hard links but no
// no-replace rename: the file is linked under the new name, which never
// replaces, then its old name is moved to a name that only this process
// knows and dropped there once it is seen to be the file. What another
// program saved under the old name meanwhile goes back under it. Nothing
// when the filesystem has no hard links.
std::optional<StepResult> RenameByLink(const Location& from, Entry entry, const Location& to);

}  // namespace tolvane::posix
