#include "platform/posix/posix_renamer.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "engine/error.h"
#include "platform/posix/native_path.h"
#include "platform/posix/rename_steps.h"

namespace tolvane {

namespace {

using posix::Fail;
using posix::Location;

void ConfirmExists(const Location& entry) {
    struct stat info {};
    if (::fstatat(entry.directory.get(), entry.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        Fail(errno);
    }
}

bool LacksNoReplaceSupport(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

void RenameNative(const std::string& oldPath, const std::string& newPath, bool forceFallback) {
    const Location from = posix::OpenLocation(oldPath);
    if (oldPath == newPath) return ConfirmExists(from);
    const Location to = posix::OpenLocation(newPath);

    const int error = forceFallback ? EINVAL : posix::RenameNoReplace(from, to);
    if (error == 0) return;
    if (error == EEXIST && posix::IsSameEntryOtherSpelling(from, to)) {
        return posix::RenameThroughTemporary(from, to);
    }
    if (!LacksNoReplaceSupport(error)) Fail(error);
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
