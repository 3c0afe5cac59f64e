#include "platform/posix/posix_renamer.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <stdio.h>

#include <cerrno>
#include <cstring>

#include "engine/error.h"
#include "platform/posix/native_path.h"
#include "platform/posix/rename_steps.h"

namespace tolvane {

namespace {

using posix::Fail;
using posix::Location;

void ConfirmExists(const std::string& path) {
    struct stat info {};
    if (::fstatat(AT_FDCWD, path.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) Fail(errno);
}

int RenameNoReplace(const std::string& oldPath, const std::string& newPath) {
    if (::renameat2(AT_FDCWD, oldPath.c_str(), AT_FDCWD, newPath.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    return errno;
}

bool LacksNoReplaceSupport(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

void RenameNative(const std::string& oldPath, const std::string& newPath, bool forceFallback) {
    if (oldPath == newPath) return ConfirmExists(oldPath);
    // The usual case is this one atomic call that never replaces anything.
    const int error = forceFallback ? EINVAL : RenameNoReplace(oldPath, newPath);
    if (error == 0) return;
    if (error != EEXIST && !LacksNoReplaceSupport(error)) Fail(error);

    // The careful paths take several steps; each side's folder is opened once
    // so that every step acts on the same folders.
    const Location from = posix::OpenLocation(oldPath);
    const Location to = posix::OpenLocation(newPath);
    if (error == EEXIST) {
        if (!posix::IsSameEntryOtherSpelling(from, to)) Fail(EEXIST);
        return posix::RenameThroughTemporary(from, to);
    }
    if (posix::IsMoveIntoItself(from, to)) Fail(EINVAL, "a folder cannot move into itself");
    posix::RenameWithoutNoReplaceFlag(from, to);
}

Text Reason(const posix::SystemFailure& failure) {
    Text reason = FromNativePath(std::strerror(failure.number));
    if (!failure.context.empty()) reason += u" (" + FromNativePath(failure.context) + u")";
    return reason;
}

}  // namespace

void PosixRenamer::Rename(const Text& oldPath, const Text& newPath) {
    try {
        RenameNative(ToNativePath(oldPath), ToNativePath(newPath), options_.noReplaceUnsupported);
    } catch (const posix::SystemFailure& failure) {
        throw RenameError(failure.number, Reason(failure), oldPath, newPath);
    } catch (const RenameError&) {
        throw;
    } catch (const Error& error) {
        throw RenameError(error.number(), error.description(), oldPath, newPath);
    }
}

}  // namespace tolvane
