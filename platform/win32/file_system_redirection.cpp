#include "platform/win32/file_system_redirection.h"

namespace tolvane {

namespace {

using DisableRedirection = BOOL(WINAPI*)(PVOID*);
using RevertRedirection = BOOL(WINAPI*)(PVOID);

// Looked up at run time: 32-bit Windows before XP SP2 lacks these calls, and
// importing them would keep the program from starting there.
template <typename Function>
Function Kernel32Function(const char* name) {
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    if (kernel32 == nullptr) return nullptr;
    // Through void (*)(): a function pointer type any other may be cast from.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(kernel32, name)));
}

}  // namespace

FileSystemRedirectionOff::FileSystemRedirectionOff() {
    static const auto disable =
        Kernel32Function<DisableRedirection>("Wow64DisableWow64FsRedirection");
    // Fails, harmlessly, where there is no redirection: a 64-bit program, or
    // a 32-bit one on 32-bit Windows.
    const DWORD lastError = GetLastError();
    disabled_ = disable != nullptr && disable(&previous_);
    SetLastError(lastError);
}

FileSystemRedirectionOff::~FileSystemRedirectionOff() {
    static const auto revert = Kernel32Function<RevertRedirection>("Wow64RevertWow64FsRedirection");
    if (!disabled_ || revert == nullptr) return;
    // The caller may still want the error of its last file call.
    const DWORD lastError = GetLastError();
    revert(previous_);
    SetLastError(lastError);
}

}  // namespace tolvane
