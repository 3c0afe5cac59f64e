#pragma once

#include <string>

#include "engine/file_renamer.h"
#include "platform/posix/held_folder.h"
#include "platform/posix/location.h"

namespace tolvane {

namespace posix {
struct StepResult;
struct PortalPaths;
}  // namespace posix

// Renames with renameat2(RENAME_NOREPLACE) on the exact bytes of the names:
// an existing target is never replaced, a move to another mount is refused
// (never copied), and a symbolic link is renamed as the link itself.
// Renaming an entry onto its own path succeeds without changing anything.
// Where the filesystem lacks RENAME_NOREPLACE, files are moved by link then
// unlink and folders by renaming over a freshly made empty placeholder.
//
// Within a batch the folder of consecutive entries is held open and each is
// renamed by name inside it; nothing is kept once the batch ends. A rename
// outside a batch is a batch of its own.
class PosixRenamer : public FileRenamer {
  public:
    struct Options {
        // Behave as on a filesystem without RENAME_NOREPLACE (for tests).
        bool noReplaceUnsupported = false;
    };

    PosixRenamer() = default;
    explicit PosixRenamer(Options options) : options_(options) {}

    void Rename(std::u16string_view oldPath, std::u16string_view newPath) override;
    void BeginBatch() override;
    void EndBatch() noexcept override;

  private:
    posix::StepResult RenameEntry(std::u16string_view oldPath, std::u16string_view newPath);
    // Renames by the paths where the document portal's rules hold; a failure
    // there throws, naming those paths.
    posix::StepResult RenameElsewhere(const posix::PortalPaths& paths);

    Options options_;
    bool inBatch_ = false;
    posix::HeldFolder folder_;
    // Both sides of the rename; their buffers are kept for the batch.
    posix::Location from_;
    posix::Location to_;
};

}  // namespace tolvane
