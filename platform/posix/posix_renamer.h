#pragma once

#include "engine/file_renamer.h"

namespace tolvane {

// Renames with renameat2(RENAME_NOREPLACE) on the exact bytes of the names:
// an existing target is never replaced, a move to another mount is refused
// (never copied), and a symbolic link is renamed as the link itself.
// Renaming an entry onto its own path succeeds without changing anything.
// Where the filesystem lacks RENAME_NOREPLACE, files are moved by link then
// unlink and folders by renaming over a freshly made empty placeholder.
class PosixRenamer : public FileRenamer {
  public:
    struct Options {
        // Behave as on a filesystem without RENAME_NOREPLACE (for tests).
        bool noReplaceUnsupported = false;
    };

    PosixRenamer() = default;
    explicit PosixRenamer(Options options) : options_(options) {}

    void Rename(const Text& oldPath, const Text& newPath) override;

  private:
    Options options_;
};

}  // namespace tolvane
