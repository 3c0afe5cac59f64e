#pragma once

#include <string>
#include <vector>

namespace tolvane::bench {

// The floor every rename path is measured against: renameat2 with
// RENAME_NOREPLACE on prepared full paths, from[i] to to[i], in order.
// Raises std::runtime_error on the first failure.
void RawRenameLoop(const std::vector<std::string>& from, const std::vector<std::string>& to);

}  // namespace tolvane::bench
