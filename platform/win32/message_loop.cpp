#include "platform/win32/message_loop.h"

#include <cwchar>

#include "platform/win32/key_state.h"
#include "platform/win32/win32_error.h"

namespace tolvane {

namespace {

bool IsEditControl(HWND control) {
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    return _wcsicmp(className, L"Edit") == 0;
}

}  // namespace

bool HandleSelectAll(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != 'A') return false;
    if (!IsKeyDown(VK_CONTROL) || IsKeyDown(VK_MENU) || IsKeyDown(VK_SHIFT)) return false;
    if (!IsEditControl(message.hwnd)) return false;
    SendMessageW(message.hwnd, EM_SETSEL, 0, -1);
    return true;  // not translated, so no Ctrl+A character reaches the box
}

int RunMessageLoop(HWND window) {
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got == -1) ThrowLastError(u"Reading the window's messages");
        if (HandleSelectAll(message)) continue;
        if (IsWindow(window) && IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace tolvane
