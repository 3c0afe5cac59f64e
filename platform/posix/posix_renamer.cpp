#include "platform/posix/posix_renamer.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/error.h"
#include "platform/posix/checked_rename.h"
#include "platform/posix/held_folder.h"
#include "platform/posix/native_path.h"
#include "platform/posix/portal_paths.h"

namespace tolvane {

namespace {

using posix::HeldFolder;
using posix::Location;
using posix::StepResult;

[[noreturn]] void Fail(std::u16string_view oldPath, std::u16string_view newPath,
                       const StepResult& failure) {
    Text reason = FromNativePath(std::strerror(failure.error));
    if (!failure.context.empty()) reason += u" (" + FromNativePath(failure.context) + u")";
    throw RenameError(failure.error, reason, Text(oldPath), Text(newPath));
}

StepResult Unnamable() { return {EILSEQ, "a name holds a character that no file name can hold"}; }

// A rename onto the entry's own path changes nothing, and succeeds while the
// entry is there.
StepResult ConfirmExists(const Location& at) {
    struct stat info {};
    if (!posix::StatEntry(at, info)) return {errno, {}};
    return {};
}

std::size_t NameStart(std::u16string_view path) {
    const std::size_t slash = path.rfind(u'/');
    return slash == std::u16string_view::npos ? 0 : slash + 1;
}

// `path` converted whole into `at`, looked up from the current folder.
bool ByPath(std::u16string_view path, Location& at) {
    at.Borrow(AT_FDCWD);
    return TryToNativePath(path, at.NameBuffer());
}

// Only the name converted into `at`: the folder's part was converted once,
// when it was opened.
bool InFolder(int folder, std::u16string_view name, Location& at) {
    at.Borrow(folder);
    return TryToNativePath(name, at.NameBuffer());
}

// The old side by name in its held folder where that finds what the path
// would, and the new side in the same folder where its directory part is the
// same text; otherwise by path. False when a name cannot be converted.
bool ChooseSides(HeldFolder& held, std::u16string_view from, std::u16string_view to,
                 Location& oldSide, Location& newSide) {
    const std::size_t oldName = NameStart(from);
    const std::u16string_view directory = from.substr(0, oldName);
    const int folder =
        posix::IsPlainName(from.substr(oldName)) ? held.For(directory) : HeldFolder::kByPath;
    if (folder == HeldFolder::kByPath) return ByPath(from, oldSide) && ByPath(to, newSide);
    if (!InFolder(folder, from.substr(oldName), oldSide)) return false;
    const std::size_t newName = NameStart(to);
    if (posix::IsSameText(to.substr(0, newName), directory) &&
        posix::IsPlainName(to.substr(newName))) {
        return InFolder(folder, to.substr(newName), newSide);
    }
    return ByPath(to, newSide);
}

// Whether both sides give the same bytes. Two texts can: a character that
// stands for a byte of a name that is not UTF-8 gives that very byte, which
// may also begin a character written out.
bool IsSamePath(std::u16string_view oldPath, const Location& from, const Location& to) {
    // Both names in the one held folder, or both whole paths.
    if (from.IsWholePath() == to.IsWholePath()) return from.name() == to.name();
    // The old name in the held folder, the new one by its path.
    std::string whole;
    return TryToNativePath(oldPath, whole) && whole == to.name();
}

}  // namespace

void PosixRenamer::BeginBatch() { inBatch_ = true; }

void PosixRenamer::EndBatch() noexcept {
    folder_.Release();
    from_ = Location();
    to_ = Location();
    inBatch_ = false;
}

void PosixRenamer::Rename(std::u16string_view oldPath, std::u16string_view newPath) {
    if (!inBatch_) {
        const RenameBatchScope single(*this);
        return Rename(oldPath, newPath);
    }
    const StepResult result = RenameEntry(oldPath, newPath);
    if (!result.done()) Fail(oldPath, newPath, result);
}

StepResult PosixRenamer::RenameElsewhere(const posix::PortalPaths& paths) {
    Rename(FromNativePath(paths.from), FromNativePath(paths.to));
    return {};
}

StepResult PosixRenamer::RenameEntry(std::u16string_view oldPath, std::u16string_view newPath) {
    if (posix::IsSameText(oldPath, newPath)) {
        return ByPath(oldPath, from_) ? ConfirmExists(from_) : Unnamable();
    }
    if (!ChooseSides(folder_, oldPath, newPath, from_, to_)) return Unnamable();
    if (IsSamePath(oldPath, from_, to_)) return ConfirmExists(from_);
    if (from_.IsWholePath() && to_.IsWholePath()) {
        if (const auto real = posix::DocumentFolderRealPaths(from_, to_)) {
            return RenameElsewhere(*real);
        }
    }
    if (!from_.IsWholePath() && folder_.HoldsPortalDocument()) {
        const auto host = posix::SharedFileHostPaths(from_, to_);
        if (!host) {
            return {EPERM,
                    "a sandboxed program passed this file on through the document portal, "
                    "which cannot rename it, and the portal does not tell where the file "
                    "really is; nothing was changed. Drop it from a file manager that shows "
                    "its folder"};
        }
        // Its failure names the paths where the file really is.
        return RenameElsewhere(*host);
    }
    // By path, the rename may have changed where the path leads: only a
    // held folder's answers are checked.
    return posix::RenameChecked(from_, to_,
                                {.answerMayMislead = !from_.IsWholePath() && folder_.MayMisreport(),
                                 .useNoReplaceFlag = !options_.noReplaceUnsupported});
}

}  // namespace tolvane
