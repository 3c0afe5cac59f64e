#include "platform/posix/posix_renamer.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/posix/native_path.h"
#include "platform/posix/portal_document.h"
#include "platform/posix/rename_fallback.h"
#include "platform/posix/rename_steps.h"
#include "platform/posix/spelling_change.h"

namespace tolvane {

namespace {

using posix::DirectoryFd;
using posix::HeldFolder;
using posix::Location;
using posix::PathBytes;
using posix::RenameRequest;
using posix::StepResult;

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

// A rename onto the entry's own path changes nothing, and succeeds while the
// entry is there.
void ConfirmExists(const RenameRequest& request, const Side& side) {
    struct stat info {};
    if (::fstatat(side.folder, side.name, &info, AT_SYMLINK_NOFOLLOW) != 0) request.Fail(errno);
}

std::size_t NameStart(std::u16string_view path) {
    const std::size_t slash = path.rfind(u'/');
    return slash == std::u16string_view::npos ? 0 : slash + 1;
}

// `path` converted whole into `bytes`, named by path.
Side ByPath(const RenameRequest& request, std::u16string_view path, std::string& bytes) {
    ConvertPath(request, path, bytes);
    return Side{AT_FDCWD, bytes.c_str(), true};
}

// Only the name converted into `bytes`: the folder's part was converted once,
// when it was opened.
Side InFolder(const RenameRequest& request, int folder, std::u16string_view name,
              std::string& bytes) {
    ConvertPath(request, name, bytes);
    return Side{folder, bytes.c_str(), false};
}

// The old side by name in its held folder where that finds what the path
// would, and the new side in the same folder where its directory part is the
// same text; otherwise by path. Each side's bytes go into its buffer.
void ChooseSides(const RenameRequest& request, HeldFolder& held, std::u16string_view from,
                 std::u16string_view to, PathBytes& bytes, Side& oldSide, Side& newSide) {
    const std::size_t oldName = NameStart(from);
    const std::u16string_view directory = from.substr(0, oldName);
    const int folder =
        posix::IsPlainName(from.substr(oldName)) ? held.For(directory) : HeldFolder::kByPath;
    if (folder == HeldFolder::kByPath) {
        oldSide = ByPath(request, from, bytes.from);
        newSide = ByPath(request, to, bytes.to);
        return;
    }
    oldSide = InFolder(request, folder, from.substr(oldName), bytes.from);
    const std::size_t newName = NameStart(to);
    if (posix::IsSameText(to.substr(0, newName), directory) &&
        posix::IsPlainName(to.substr(newName))) {
        newSide = InFolder(request, folder, to.substr(newName), bytes.to);
    } else {
        newSide = ByPath(request, to, bytes.to);
    }
}

// Whether both sides give the same bytes. Two texts can: a character that
// stands for a byte of a name that is not UTF-8 gives that very byte, which
// may also begin a character written out.
bool IsSamePath(const RenameRequest& request, std::u16string_view oldPath, const PathBytes& bytes,
                const Side& oldSide, const Side& newSide) {
    // Both names in the one held folder, or both whole paths.
    if (oldSide.byPath == newSide.byPath) return bytes.from == bytes.to;
    // The old name in the held folder, the new one by its path.
    std::string whole;
    ConvertPath(request, oldPath, whole);
    return whole == bytes.to;
}

bool Shows(const Side& side) {
    struct statx info {};
    return ::statx(side.folder, side.name, AT_SYMLINK_NOFOLLOW | AT_STATX_FORCE_SYNC, STATX_TYPE,
                   &info) == 0;
}

// Where the filesystem may answer a rename done that it did not do, both
// names are looked at, past the kernel's cache, before the rename counts.
// (A change of letter case alone is never answered done there: the kernel
// refuses it as a name taken before the filesystem is asked.)
void ConfirmRenamed(const RenameRequest& request, const Side& from, const Side& to) {
    if (!Shows(to) || Shows(from)) {
        request.Fail(EIO, "the filesystem reported the rename done, but did not do it");
    }
}

// A network mount may answer a rename it carried out with an error (a resent
// call finds its own work done): the entry then shows under its new name
// only, and the rename counts as done. Some answer EIO for any refusal,
// one of a name they cannot hold among them: that is said.
bool WasDoneAfterAll(const RenameRequest& request, int error, const Side& from, const Side& to) {
    if (error != ENOENT && error != EEXIST && error != EIO) return false;
    const bool oldShows = Shows(from);
    const bool newShows = Shows(to);
    if (newShows && !oldShows) return true;
    if (error == EIO && oldShows && !newShows) {
        request.Fail(EIO, "the filesystem could not make the name " + posix::Quoted(to.name) +
                              ", which it may not accept; nothing was changed");
    }
    return false;
}

// The mount that holds the folder of `side`; 0 when it cannot be told.
std::uint64_t MountOf(const Side& side) {
    struct statx info {};
    int status = 0;
    if (side.byPath) {
        const char* slash = std::strrchr(side.name, '/');
        const std::string folder = slash == nullptr ? "." : std::string(side.name, slash + 1);
        status = ::statx(AT_FDCWD, folder.c_str(), 0, STATX_MNT_ID, &info);
    } else {
        status = ::statx(side.folder, "", AT_EMPTY_PATH, STATX_MNT_ID, &info);
    }
    return status == 0 ? info.stx_mnt_id : 0;
}

// EXDEV: the new name lies on another mount, or, within one, the filesystem
// cannot move the entry where it is (an overlay, a folder from its lower
// layer). Either way nothing changed, and nothing is copied.
[[noreturn]] void FailAcrossMounts(const RenameRequest& request, const Side& from, const Side& to) {
    const std::uint64_t mount = MountOf(from);
    if (mount != 0 && mount == MountOf(to)) {
        request.Fail(EXDEV,
                     "this filesystem cannot rename this entry where it is, as an overlay "
                     "cannot rename a folder of its lower layer; nothing was changed");
    }
    request.Fail(EXDEV,
                 "the new name is on another disk or mount, and entries are never copied and "
                 "deleted; nothing was changed");
}

int RenameNoReplace(const Side& from, const Side& to) {
    if (::renameat2(from.folder, from.name, to.folder, to.name, RENAME_NOREPLACE) == 0) return 0;
    return errno;
}

// The careful steps act on the folders the fast call used: a held one is
// borrowed, any other opened here for these steps alone. `bytes` is the
// side's buffer.
Location LocationOf(const RenameRequest& request, const Side& side, const std::string& bytes) {
    if (side.byPath) return posix::OpenLocation(request, bytes);
    return Location{DirectoryFd::Borrowed(side.folder), bytes};
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

// A file that a sandboxed program passed on alone through the document
// portal is renamed where it really is, or not at all: the portal itself
// cannot rename it without losing it. The paths of the file and its new
// name where the portal tells where it is, and the new name stays in the
// document's folder.
std::pair<std::string, std::string> SharedFileHostPaths(const RenameRequest& request,
                                                        const Side& from, const Side& to) {
    std::optional<std::string> host;
    if (!to.byPath) host = posix::PortalHostPath(from.folder, from.name);
    if (!host) {
        request.Fail(EPERM,
                     "a sandboxed program passed this file on through the document portal, "
                     "which cannot rename it, and the portal does not tell where the file "
                     "really is; nothing was changed. Drop it from a file manager that shows "
                     "its folder");
    }
    std::string renamed = host->substr(0, host->rfind('/') + 1) + to.name;
    return {std::move(*host), std::move(renamed)};
}

}  // namespace

void PosixRenamer::BeginBatch() { inBatch_ = true; }

void PosixRenamer::EndBatch() noexcept {
    folder_.Release();
    bytes_ = PathBytes();
    inBatch_ = false;
}

void PosixRenamer::Rename(std::u16string_view oldPath, std::u16string_view newPath) {
    if (!inBatch_) {
        const RenameBatchScope single(*this);
        return Rename(oldPath, newPath);
    }
    const RenameRequest request(oldPath, newPath);
    if (posix::IsSameText(oldPath, newPath)) {
        return ConfirmExists(request, ByPath(request, oldPath, bytes_.from));
    }
    Side oldSide;
    Side newSide;
    ChooseSides(request, folder_, oldPath, newPath, bytes_, oldSide, newSide);
    if (IsSamePath(request, oldPath, bytes_, oldSide, newSide)) {
        return ConfirmExists(request, oldSide);
    }
    if (!oldSide.byPath && folder_.HoldsPortalDocument()) {
        const auto [from, to] = SharedFileHostPaths(request, oldSide, newSide);
        return Rename(FromNativePath(from), FromNativePath(to));
    }
    // The usual case is this one atomic call that never replaces anything.
    const int error = options_.noReplaceUnsupported ? EINVAL : RenameNoReplace(oldSide, newSide);
    // By path, the rename may have changed where the path leads.
    const bool checkAnswer = !oldSide.byPath && folder_.MayMisreport();
    if (error == 0) {
        if (checkAnswer) ConfirmRenamed(request, oldSide, newSide);
        return;
    }
    if (checkAnswer && WasDoneAfterAll(request, error, oldSide, newSide)) return;
    if (error == EXDEV) FailAcrossMounts(request, oldSide, newSide);
    if (error != EEXIST && !posix::LacksNoReplaceSupport(error)) request.Fail(error);
    RenameCarefully(request, LocationOf(request, oldSide, bytes_.from),
                    LocationOf(request, newSide, bytes_.to), error, !options_.noReplaceUnsupported);
}

}  // namespace tolvane
