#pragma once

#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/error_report.h"
#include "platform/form_description.h"
#include "platform/form_events.h"
#include "platform/win32/batch_progress.h"
#include "platform/win32/form_menu.h"
#include "platform/win32/gdi_font.h"
#include "platform/win32/win32_form_controls.h"

namespace tolvane {

// A fixed-size top-level window built from a form's description: its menu
// bar, and a client area of the described size (converted with the screen's
// resolution) holding the controls at their places in tab order. It accepts
// files dropped anywhere on it, over its controls too.
class Win32FormWindow {
  public:
    explicit Win32FormWindow(const FormDescription& form);
    // Stops delivering events first: the form and the report may go before
    // the window does.
    ~Win32FormWindow();
    Win32FormWindow(const Win32FormWindow&) = delete;
    Win32FormWindow& operator=(const Win32FormWindow&) = delete;

    HWND handle() const { return window_; }
    FormControls& controls() { return *controls_; }
    // The control the description calls `name`, or nullptr.
    HWND control(std::string_view name) const;

    // Connects the form, once, before the window is first shown: delivers its
    // Load event at once, then every menu click and every drop. Errors they
    // raise go to `report`. Both must outlive the window or the detachment
    // its destructor does. A window closed during a drop closes when its
    // batch has stopped, unless the drop ended in an error, which is shown
    // instead.
    void Attach(FormEvents& events, ErrorReport& report);

    // Shows the window with the first box of the tab order focused.
    void Show(int showCommand);

    // Closing the window then ends the thread's message loop.
    void EndProgramOnClose() { endProgramOnClose_ = true; }

  private:
    // Nothing may leave a window procedure into the system's frames: events
    // catch their errors, and anything else ends the program.
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam,
                                      LPARAM lParam) noexcept;
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls(const FormDescription& form);
    HWND CreateControl(const ControlDescription& control);
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnDropFiles(HDROP drop);
    void Drop(HDROP drop);
    HWND CreateProgressText();
    void RestoreFocus();
    void Deliver(const std::function<void()>& handler);

    std::string formName_;
    int dpi_;  // the screen's, when the window was laid out
    HWND window_ = nullptr;
    FormMenu menu_;
    GdiFont font_;
    Win32BatchProgress progress_;
    bool dropping_ = false;  // a drop's batch runs, and handles messages meanwhile
    std::unique_ptr<Win32FormControls> controls_;
    std::map<HWND, std::string> controlNames_;
    HWND firstTabStop_ = nullptr;
    HWND lastFocus_ = nullptr;
    FormEvents* events_ = nullptr;
    ErrorReport* report_ = nullptr;
    bool endProgramOnClose_ = false;

    // Last, so that it goes first: the window is destroyed while all that its
    // last messages use still exists, also when the constructor fails.
    struct Destroyer {
        HWND* window;
        ~Destroyer();
    } destroyer_{&window_};
};

}  // namespace tolvane
