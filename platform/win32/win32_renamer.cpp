#include "platform/win32/win32_renamer.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "engine/path_split.h"
#include "platform/win32/file_system_redirection.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_text.h"

namespace tolvane {

namespace {

[[noreturn]] void ThrowRenameError(DWORD code, const Text& oldPath, const Text& newPath) {
    throw RenameError(static_cast<std::int32_t>(code), SystemMessage(code), oldPath, newPath);
}

// Windows paths hold no NUL; one would cut the path short in the call.
void RefuseEmbeddedNul(const Text& oldPath, const Text& newPath) {
    if (oldPath.find(u'\0') != Text::npos || newPath.find(u'\0') != Text::npos) {
        ThrowRenameError(ERROR_INVALID_NAME, oldPath, newPath);
    }
}

// Windows drops trailing dots and spaces from a name in an ordinary path, so
// "a." would become "a" and "a.txt " stay "a.txt": a different name than
// asked for, or none at all, reported as done.
void RefuseTrimmedName(const Text& oldPath, const Text& newPath) {
    const Text name = NoPath(newPath);
    if (!name.empty() && (name.back() == u'.' || name.back() == u' ')) {
        throw RenameError(ERROR_INVALID_NAME,
                          u"Windows does not keep a dot or space at the end of a name", oldPath,
                          newPath);
    }
}

// The dropped entry exactly as named: the "\\?\" form turns off Windows'
// clean-up of paths, which would make "report." name the file "report".
std::wstring ExactPath(const Text& path) {
    const std::wstring wide = ToWide(path);
    if (wide.rfind(LR"(\\?\)", 0) == 0) return wide;
    if (wide.rfind(LR"(\\)", 0) == 0) return LR"(\\?\UNC\)" + wide.substr(2);
    const bool drivePath = wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\';
    return drivePath ? LR"(\\?\)" + wide : wide;
}

// The new path exactly as the batch built it: the dropped entry's own
// directory part unchanged, then the new name with each '/' typed in it made
// a backslash, so that a '/' still points into a subfolder. Left to Windows'
// clean-up, a folder "X." on the way would turn into its neighbour "X".
Text ExactNewPath(const Text& oldPath, const Text& newPath) {
    const Text directory = JustPath(oldPath);
    const std::size_t typedFrom = newPath.rfind(directory, 0) == 0 ? directory.size() : 0;
    Text exact = newPath;
    std::replace(exact.begin() + static_cast<std::ptrdiff_t>(typedFrom), exact.end(), u'/', u'\\');
    return exact;
}

// Both paths name the same entry, spelt with other letter case.
bool IsCaseOnlyChange(const Text& oldPath, const Text& newPath) {
    if (oldPath.size() != newPath.size() || oldPath == newPath) return false;
    std::wstring a = ToWide(oldPath);
    std::wstring b = ToWide(newPath);
    CharUpperBuffW(a.data(), static_cast<DWORD>(a.size()));
    CharUpperBuffW(b.data(), static_cast<DWORD>(b.size()));
    return a == b;
}

// What the file calls found. Their errors are described only once the
// file system is seen as usual again.
struct DiskOutcome {
    DWORD error = ERROR_SUCCESS;
    std::wstring storedName;  // after a change of letter case alone
};

DiskOutcome RenameOnDisk(const Text& oldPath, const Text& target) {
    const std::wstring from = ExactPath(oldPath);
    // The paths name what the user dropped, wherever this program runs.
    const FileSystemRedirectionOff redirectionOff;
    if (oldPath == target) {
        // Nothing to change, but the entry must still be there.
        if (GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return {GetLastError(), {}};
        }
        return {};
    }
    const std::wstring to = ExactPath(target);
    // No MOVEFILE_REPLACE_EXISTING: an existing target fails the call. No
    // MOVEFILE_COPY_ALLOWED: a move to another volume fails instead of
    // copying and deleting.
    if (!MoveFileExW(from.c_str(), to.c_str(), 0)) return {GetLastError(), {}};
    if (!IsCaseOnlyChange(oldPath, target)) return {};
    // Some file systems, and Wine on a case-sensitive Linux disk, report a
    // change of letter case alone as done while keeping the old spelling.
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(to.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return {GetLastError(), {}};
    FindClose(search);
    return {ERROR_SUCCESS, found.cFileName};
}

}  // namespace

void Win32Renamer::Rename(std::u16string_view oldView, std::u16string_view newView) {
    const Text oldPath(oldView);
    const Text newPath(newView);
    RefuseEmbeddedNul(oldPath, newPath);
    if (oldPath != newPath) RefuseTrimmedName(oldPath, newPath);
    const Text target = oldPath == newPath ? newPath : ExactNewPath(oldPath, newPath);
    const DiskOutcome outcome = RenameOnDisk(oldPath, target);
    if (outcome.error != ERROR_SUCCESS) ThrowRenameError(outcome.error, oldPath, newPath);
    if (!outcome.storedName.empty() && FromWide(outcome.storedName) != NoPath(target)) {
        throw RenameError(ERROR_NOT_SUPPORTED,
                          u"The system reported the rename as done but kept the old spelling; a "
                          u"change of letter case alone is not possible here",
                          oldPath, newPath);
    }
}

}  // namespace tolvane
