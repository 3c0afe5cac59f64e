#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tolvane::bench {

// Where a window lies on the screen.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The pointer and the keyboard of $DISPLAY, driven through the XTEST
// extension: the programs get the same events as from a real mouse and
// keyboard, drags included. Also the little a driver must know of the
// windows on the screen.
class FakeInput {
  public:
    // Raises std::runtime_error without a display or without XTEST.
    FakeInput();

    // Each returns once the server has taken the event.
    void MovePointer(int x, int y);
    void PressButton();  // the left one
    void ReleaseButton();
    void Click(int x, int y);
    // Presses the keys in order and releases them in reverse: {Control_L, a}.
    void Keys(const std::vector<KeySym>& chord);

    void Focus(Window window);
    // Moves a top-level window; there is no window manager to ask.
    void MoveWindow(Window window, int x, int y);
    ScreenRect Frame(Window window);

    // Whether a menu or another override-redirect window is showing.
    bool PopupShowing();
    // Whether some program owns the selection, e.g. "XdndSelection" from
    // the moment a drag has started.
    bool SelectionOwned(const char* selection);

  private:
    struct DisplayCloser {
        void operator()(Display* display) const { XCloseDisplay(display); }
    };

    std::unique_ptr<Display, DisplayCloser> display_;
};

// Polls `done` every few milliseconds; raises std::runtime_error naming
// `what` if it is not true within `timeout`.
void WaitUntil(const std::function<bool()>& done, const std::string& what,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace tolvane::bench
