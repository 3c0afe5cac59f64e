#include "platform/posix/posix_renamer.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "platform/posix/native_path.h"
#include "platform/posix/rename_fallback.h"
#include "platform/posix/rename_steps.h"
#include "platform/posix/spelling_change.h"

namespace tolvane {

namespace {

using posix::DirectoryFd;
using posix::HeldFolder;
using posix::Location;
using posix::RenameRequest;
using posix::StepResult;

void ConfirmExists(const RenameRequest& request, const std::string& path) {
    struct stat info {};
    if (::fstatat(AT_FDCWD, path.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) request.Fail(errno);
}

void ConvertPath(const RenameRequest& request, std::u16string_view path, std::string& bytes) {
    if (!TryToNativePath(path, bytes)) {
        request.Fail(EILSEQ, "a name holds a character that no file name can hold");
    }
}

// One side of a rename: a name in a held folder, or a whole path.
struct Side {
    int folder = AT_FDCWD;
    const char* name = nullptr;
    bool byPath = true;
};

std::size_t NameStart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

Side ByPath(const std::string& path) { return Side{AT_FDCWD, path.c_str(), true}; }

// The old side by name in its held folder where that finds what the path
// would, and the new side in the same folder where its directory part is the
// same text; otherwise by path.
void ChooseSides(HeldFolder& held, const std::string& from, const std::string& to, Side& oldSide,
                 Side& newSide) {
    oldSide = ByPath(from);
    newSide = ByPath(to);
    const std::size_t oldName = NameStart(from);
    if (!posix::IsPlainName(std::string_view(from).substr(oldName))) return;
    const std::string_view directory = std::string_view(from).substr(0, oldName);
    const int folder = held.For(directory);
    if (folder == HeldFolder::kByPath) return;
    oldSide = Side{folder, from.c_str() + oldName, false};
    const std::size_t newName = NameStart(to);
    if (std::string_view(to).substr(0, newName) == directory &&
        posix::IsPlainName(std::string_view(to).substr(newName))) {
        newSide = Side{folder, to.c_str() + newName, false};
    }
}

int RenameNoReplace(const Side& from, const Side& to) {
    if (::renameat2(from.folder, from.name, to.folder, to.name, RENAME_NOREPLACE) == 0) return 0;
    return errno;
}

// The careful steps act on the folders the fast call used: a held one is
// borrowed, any other opened here for these steps alone.
Location LocationOf(const RenameRequest& request, const Side& side, const std::string& path) {
    if (side.byPath) return posix::OpenLocation(request, path);
    return Location{DirectoryFd::Borrowed(side.folder), side.name};
}

// After the no-replace call failed with `error`: a change of letter case on a
// case-insensitive filesystem, or a filesystem without the flag.
void RenameCarefully(const RenameRequest& request, const Location& from, const Location& to,
                     int error, bool useNoReplaceFlag) {
    if (error != EEXIST) {
        if (posix::IsMoveIntoItself(from, to)) {
            request.Fail(EINVAL, "a folder cannot move into itself");
        }
        const StepResult moved = posix::MoveWithoutNoReplaceFlag(from, to);
        if (moved.done()) return;
        // A taken name, unless it is the entry's own under another spelling.
        if (moved.error != EEXIST || !posix::IsAnotherSpelling(from, to)) {
            request.Fail(moved.error, moved.context);
        }
    }
    posix::ChangeSpelling(request, from, to, useNoReplaceFlag);
}

}  // namespace

void PosixRenamer::BeginBatch() { inBatch_ = true; }

void PosixRenamer::EndBatch() noexcept {
    folder_.Release();
    std::string().swap(from_);
    std::string().swap(to_);
    inBatch_ = false;
}

void PosixRenamer::Rename(std::u16string_view oldPath, std::u16string_view newPath) {
    if (!inBatch_) {
        const RenameBatchScope single(*this);
        return Rename(oldPath, newPath);
    }
    const RenameRequest request(oldPath, newPath);
    ConvertPath(request, oldPath, from_);
    ConvertPath(request, newPath, to_);
    if (from_ == to_) return ConfirmExists(request, from_);
    Side oldSide;
    Side newSide;
    ChooseSides(folder_, from_, to_, oldSide, newSide);
    // The usual case is this one atomic call that never replaces anything.
    const int error = options_.noReplaceUnsupported ? EINVAL : RenameNoReplace(oldSide, newSide);
    if (error == 0) return;
    if (error != EEXIST && !posix::LacksNoReplaceSupport(error)) request.Fail(error);
    RenameCarefully(request, LocationOf(request, oldSide, from_), LocationOf(request, newSide, to_),
                    error, !options_.noReplaceUnsupported);
}

}  // namespace tolvane
