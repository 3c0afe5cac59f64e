#include "platform/win32/batch_progress.h"

#include <string>

namespace tolvane {

namespace {

bool IsKey(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

bool IsClientMouse(UINT message) { return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST; }

bool IsFrameMouse(UINT message) {
    return message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK;
}

// The frame's close and minimise buttons and its title bar go on working;
// its menu does not open.
bool IsFramePartLeftWorking(WPARAM hit) {
    return hit == HTCLOSE || hit == HTMINBUTTON || hit == HTCAPTION;
}

}  // namespace

bool Win32BatchProgress::Look(Short done, Short count) {
    const std::wstring shown =
        std::to_wstring(done) + L" of " + std::to_wstring(count) + L" entries renamed";
    SetWindowTextW(text_, shown.c_str());
    if (!IsWindowVisible(text_)) ShowWindow(text_, SW_SHOWNA);
    HandleWaitingMessages();
    return stop_;
}

void Win32BatchProgress::Finish() noexcept {
    ShowWindow(text_, SW_HIDE);
    stop_ = false;
}

// Input is dropped, not kept for later: keys typed into a box that the
// program reads only when the batch ends would change the texts behind the
// user's back. Everything else (painting, the system's checks that the
// window answers, timers) is handled as the message loop would.
void Win32BatchProgress::HandleWaitingMessages() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // For the message loop, once the batch has stopped.
            PostQuitMessage(static_cast<int>(message.wParam));
            stop_ = true;
            return;
        }
        if (HoldBack(message)) continue;
        DispatchMessageW(&message);
    }
}

bool Win32BatchProgress::HoldBack(const MSG& message) {
    if (IsKey(message.message)) {
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) stop_ = true;
        if (message.message == WM_SYSKEYDOWN && message.wParam == VK_F4) RequestClose();
        return true;
    }
    if (IsClientMouse(message.message)) return true;
    if (IsFrameMouse(message.message)) return !IsFramePartLeftWorking(message.wParam);
    return false;
}

}  // namespace tolvane
