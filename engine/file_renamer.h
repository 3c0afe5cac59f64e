#pragma once

#include <string_view>

#include "engine/text.h"

namespace tolvane {

// Renames a file or folder from one full path to another. Never replaces an
// existing entry; raises RenameError when the rename cannot be done.
class FileRenamer {
  public:
    virtual ~FileRenamer() = default;

    virtual void Rename(std::u16string_view oldPath, std::u16string_view newPath) = 0;

    // Bracket the renames of one batch. Between the two a renamer may keep
    // what consecutive renames share (an open folder, say); EndBatch lets go
    // of all of it, and is called however the batch ends.
    virtual void BeginBatch() {}
    virtual void EndBatch() noexcept {}
};

// Begins a batch on construction and ends it on every way out of the scope.
class RenameBatchScope {
  public:
    explicit RenameBatchScope(FileRenamer& renamer) : renamer_(renamer) { renamer_.BeginBatch(); }
    RenameBatchScope(const RenameBatchScope&) = delete;
    RenameBatchScope& operator=(const RenameBatchScope&) = delete;
    ~RenameBatchScope() { renamer_.EndBatch(); }

  private:
    FileRenamer& renamer_;
};

}  // namespace tolvane
