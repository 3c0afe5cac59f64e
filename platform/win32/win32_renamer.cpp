#include "platform/win32/win32_renamer.h"

#include <windows.h>

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

}  // namespace

void Win32Renamer::Rename(const Text& oldPath, const Text& newPath) {
    RefuseEmbeddedNul(oldPath, newPath);
    const std::wstring from = ToWide(oldPath);
    if (oldPath == newPath) {
        // Nothing to change, but the entry must still be there.
        if (GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES) {
            ThrowRenameError(GetLastError(), oldPath, newPath);
        }
        return;
    }
    const std::wstring to = ToWide(newPath);
    // No MOVEFILE_REPLACE_EXISTING: an existing target fails the call. No
    // MOVEFILE_COPY_ALLOWED: a move to another volume fails instead of
    // copying and deleting.
    if (!MoveFileExW(from.c_str(), to.c_str(), 0)) {
        ThrowRenameError(GetLastError(), oldPath, newPath);
    }
}

}  // namespace tolvane
