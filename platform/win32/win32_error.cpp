#include "platform/win32/win32_error.h"

#include <memory>

#include "platform/win32/win32_text.h"

namespace tolvane {

namespace {

struct LocalFreeDeleter {
    void operator()(wchar_t* buffer) const { LocalFree(buffer); }
};

bool IsTrailingSpace(wchar_t c) { return c == L'\r' || c == L'\n' || c == L' '; }

}  // namespace

Text SystemMessage(DWORD code) {
    wchar_t* raw = nullptr;
    const DWORD flags =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    const DWORD length =
        FormatMessageW(flags, nullptr, code, 0, reinterpret_cast<wchar_t*>(&raw), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalFreeDeleter> buffer(raw);
    if (length == 0) return u"Windows error " + FromWide(std::to_wstring(code));
    Text message = FromWide(raw, length);
    while (!message.empty() && IsTrailingSpace(message.back())) message.pop_back();
    return message;
}

void ThrowLastError(const Text& what) {
    const DWORD code = GetLastError();
    throw Error(static_cast<std::int32_t>(code), what + u": " + SystemMessage(code));
}

}  // namespace tolvane
