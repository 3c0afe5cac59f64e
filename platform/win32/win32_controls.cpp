#include "platform/win32/win32_controls.h"

#include "platform/win32/win32_error.h"
#include "platform/win32/win32_text.h"

namespace tolvane {

namespace {

// ShowWindow reports the earlier visibility, not success, so a handle that
// is no longer a window is caught beforehand. A hidden box would keep the
// keyboard focus, so its window takes it and hands it to a visible box.
void Show(HWND control, bool visible, const char16_t* what) {
    if (!IsWindow(control)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        ThrowLastError(what);
    }
    ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
    if (!visible && GetFocus() == control) SetFocus(GetParent(control));
}

}  // namespace

void Win32Window::TakeFocus() {
    // Windows may refuse to bring a window to the front while another program
    // is in use; it then flashes the taskbar button, which is not a failure.
    SetForegroundWindow(window_);
    SetLastError(ERROR_SUCCESS);
    // The window hands the focus on to the control that last had it.
    if (!SetFocus(window_) && GetLastError() != ERROR_SUCCESS) {
        ThrowLastError(u"Giving the window the input focus");
    }
}

void Win32Label::SetCaption(const Text& caption) {
    if (!SetWindowTextW(label_, ToWide(caption).c_str())) {
        ThrowLastError(u"Setting a label's caption");
    }
}

void Win32Label::SetVisible(bool visible) { Show(label_, visible, u"Showing or hiding a label"); }

Text Win32TextBox::GetText() const {
    SetLastError(ERROR_SUCCESS);
    const int length = GetWindowTextLengthW(box_);
    if (length == 0 && GetLastError() != ERROR_SUCCESS) ThrowLastError(u"Reading a text box");
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SetLastError(ERROR_SUCCESS);
    const int copied = GetWindowTextW(box_, text.data(), length + 1);
    if (copied == 0 && GetLastError() != ERROR_SUCCESS) ThrowLastError(u"Reading a text box");
    text.resize(static_cast<std::size_t>(copied));
    return FromWide(text);
}

void Win32TextBox::SetVisible(bool visible) {
    Show(box_, visible, u"Showing or hiding a text box");
}

void Win32MenuItem::SetChecked(bool checked) {
    const UINT state = MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED);
    if (CheckMenuItem(menu_, command_, state) == static_cast<DWORD>(-1)) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        ThrowLastError(u"Setting a menu item's check mark");
    }
}

}  // namespace tolvane
