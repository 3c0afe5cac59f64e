#include "platform/win32/form_window.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/event_boundary.h"
#include "platform/progress_place.h"
#include "platform/stop_for_close_report.h"
#include "platform/win32/busy_cursor.h"
#include "platform/win32/drop_point.h"
#include "platform/win32/hdrop_file_list.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/window_layout.h"

namespace tolvane {

namespace {

constexpr wchar_t kWindowClass[] = L"TolvaneForm";
// A fixed frame: the controls have fixed places, so the window is not sized.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// Drops are accepted once a form is attached to take them.
constexpr DWORD kWindowExStyle = 0;

void RegisterWindowClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kWindowClass;
        if (!RegisterClassExW(&windowClass)) ThrowLastError(u"Registering the window class");
        return true;
    }();
    (void)registered;
}

std::vector<const ControlDescription*> InTabOrder(const FormDescription& form) {
    std::vector<const ControlDescription*> controls;
    for (const ControlDescription& control : form.controls) controls.push_back(&control);
    std::stable_sort(controls.begin(), controls.end(),
                     [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
    return controls;
}

bool IsEditNotification(WPARAM wParam, UINT code) { return HIWORD(wParam) == code; }

// Raises a flag for the life of the scope.
class Raised {
  public:
    explicit Raised(bool& flag) : flag_(flag) { flag_ = true; }
    Raised(const Raised&) = delete;
    Raised& operator=(const Raised&) = delete;
    ~Raised() { flag_ = false; }

  private:
    bool& flag_;
};

}  // namespace

Win32FormWindow::Win32FormWindow(const FormDescription& form)
    : formName_(form.name), dpi_(ScreenDpi()) {
    RegisterWindowClass(&Procedure);
    const SIZE size = FrameSize(form, kWindowStyle, kWindowExStyle, dpi_);
    menu_ = BuildMenuBar(form);  // the window owns it from here on
    window_ = CreateWindowExW(kWindowExStyle, kWindowClass, ToWide(form.caption).c_str(),
                              kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr,
                              menu_.bar, GetModuleHandleW(nullptr), this);
    if (!window_) {
        const DWORD failure = GetLastError();
        DestroyMenu(menu_.bar);
        SetLastError(failure);
        ThrowLastError(u"Creating the window");
    }
    controls_ = std::make_unique<Win32FormControls>(window_, progress_);
    for (std::size_t i = 0; i < menu_.itemNames.size(); ++i) {
        const auto command = static_cast<UINT>(FormMenu::kFirstMenuCommand + i);
        controls_->AddMenuItem(menu_.itemNames[i], menu_.bar, command);
    }
    CreateControls(form);
    progress_.Attach(CreateProgressText());
}

Win32FormWindow::~Win32FormWindow() {
    events_ = nullptr;
    report_ = nullptr;
}

Win32FormWindow::Destroyer::~Destroyer() {
    if (*window && IsWindow(*window)) DestroyWindow(*window);
}

HWND Win32FormWindow::control(std::string_view name) const {
    for (const auto& [handle, controlName] : controlNames_) {
        if (controlName == name) return handle;
    }
    return nullptr;
}

// Created in tab order, since Tab follows the order of creation.
void Win32FormWindow::CreateControls(const FormDescription& form) {
    for (const ControlDescription* control : InTabOrder(form)) {
        const HWND handle = CreateControl(*control);
        controlNames_.emplace(handle, control->name);
        if (control->kind == ControlKind::Label) {
            controls_->AddLabel(control->name, handle);
        } else {
            controls_->AddTextBox(control->name, handle);
            if (!firstTabStop_) firstTabStop_ = handle;
        }
    }
}

HWND Win32FormWindow::CreateControl(const ControlDescription& control) {
    const bool isLabel = control.kind == ControlKind::Label;
    const RECT place = ControlRect(control, dpi_);
    // A label's caption is plain text ('&' is no access key), from the top
    // left of its place.
    const DWORD style = WS_CHILD | (control.visible ? WS_VISIBLE : 0) |
                        (isLabel ? SS_LEFT | SS_NOPREFIX | SS_LEFTNOWORDWRAP
                                 : WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL);
    const HWND handle = CreateWindowExW(
        isLabel ? 0 : WS_EX_CLIENTEDGE, isLabel ? L"STATIC" : L"EDIT",
        ToWide(control.caption).c_str(), style, place.left, place.top, place.right - place.left,
        place.bottom - place.top, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!handle) ThrowLastError(u"Creating a control");
    SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return handle;
}

// Not one of the form's controls: no drop is routed to it, and it shows only
// during a long batch.
HWND Win32FormWindow::CreateProgressText() {
    ControlDescription place = ProgressPlace();
    place.visible = false;
    return CreateControl(place);
}

void Win32FormWindow::Attach(FormEvents& events, ErrorReport& report) {
    events_ = &events;
    report_ = &report;
    Deliver([this] { events_->Load(); });
    DragAcceptFiles(window_, TRUE);
}

void Win32FormWindow::Show(int showCommand) {
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    // Started in the background or minimised, the first box gets the focus
    // when the window is activated.
    lastFocus_ = firstTabStop_;
    if (GetActiveWindow() == window_ && firstTabStop_) SetFocus(firstTabStop_);
}

void Win32FormWindow::Deliver(const std::function<void()>& handler) {
    if (!events_ || !report_) return;
    RunEventHandler(*report_, handler);
}

LRESULT CALLBACK Win32FormWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || self->window_ != window) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

LRESULT Win32FormWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(wParam, lParam);
            return 0;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_SETFOCUS:
            RestoreFocus();
            return 0;
        case WM_CLOSE:
            if (!dropping_) break;
            progress_.RequestClose();
            return 0;
        case WM_SETCURSOR:
            // The hourglass stays while the batch handles the mouse's moves.
            if (!dropping_) break;
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        case WM_DESTROY:
            events_ = nullptr;
            if (endProgramOnClose_) PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY: {
            const HWND window = std::exchange(window_, nullptr);
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            return DefWindowProcW(window, message, wParam, lParam);
        }
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Win32FormWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam != 0) {
        // A control's notification: remember which box the user is in.
        if (IsEditNotification(wParam, EN_SETFOCUS)) lastFocus_ = reinterpret_cast<HWND>(lParam);
        return;
    }
    if (const std::string* item = menu_.ItemFor(LOWORD(wParam))) {
        Deliver([this, item] { events_->Click(*item); });
    }
}

// The window itself never keeps the focus: it goes back to the box the user
// was in, or to the first box when that one is hidden now.
void Win32FormWindow::RestoreFocus() {
    HWND target = lastFocus_;
    if (!target || !IsWindowVisible(target)) target = firstTabStop_;
    if (target) SetFocus(target);
}

// While an error box is open the window is disabled, but Wine still
// delivers drops to it: a batch started then would run inside the box's
// message loop. Such a drop is refused with a beep, as Windows itself
// refuses drops on a disabled window; so is a drop that arrives while a
// long batch handles the window's messages.
void Win32FormWindow::OnDropFiles(HDROP drop) {
    const DropHandle handle(drop);
    if (dropping_ || !IsWindowEnabled(window_)) {
        MessageBeep(MB_ICONWARNING);
        return;
    }
    if (!events_ || !report_) return;
    StopForCloseReport report(*report_, progress_.closing());
    RunEventHandler(report, [this, drop] { Drop(drop); });
    const bool close = report.CloseNow();
    progress_.ForgetClosing();
    if (close) PostMessageW(window_, WM_CLOSE, 0, 0);
}

void Win32FormWindow::Drop(HDROP drop) {
    const DropPoint point = LocateDrop(window_, drop, controlNames_, formName_, dpi_);
    HdropDropData data(drop);
    DropArgs args = MakeDropArgs(point);
    const BusyCursor busy;
    const Raised dropping(dropping_);
    events_->DragDrop(point.target, data, args);
}

}  // namespace tolvane
