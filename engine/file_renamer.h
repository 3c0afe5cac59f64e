#pragma once

#include "engine/text.h"

namespace tolvane {

// Renames a file or folder from one full path to another. Never replaces an
// existing entry; raises RenameError when the rename cannot be done.
class FileRenamer {
  public:
    virtual ~FileRenamer() = default;

    virtual void Rename(const Text& oldPath, const Text& newPath) = 0;
};

}  // namespace tolvane
