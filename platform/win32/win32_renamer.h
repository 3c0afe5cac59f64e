#pragma once

#include "engine/file_renamer.h"

namespace tolvane {

// Renames with one MoveFileExW call that neither replaces an existing entry
// nor copies across volumes. Paths are Windows paths with '\' separators.
class Win32Renamer : public FileRenamer {
  public:
    void Rename(std::u16string_view oldView, std::u16string_view newView) override;
};

}  // namespace tolvane
