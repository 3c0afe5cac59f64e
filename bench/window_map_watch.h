#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace tolvane::bench {

// Watches the display's top-level windows from before a program starts, so
// the moment its window is mapped arrives as an event instead of being found
// by polling (each poll with a separate tool costs milliseconds).
class WindowMapWatch {
  public:
    // Connects to $DISPLAY and starts listening; raises std::runtime_error
    // when there is no display.
    WindowMapWatch();

    struct Mapped {
        Window window;
        std::chrono::steady_clock::time_point seen;
    };

    // Waits until a top-level window titled exactly `title` is mapped and
    // returns it, with when that was seen. Raises std::runtime_error after
    // `timeout`, or as soon as `gaveUp()` returns true (e.g. the program has
    // exited).
    Mapped WaitForMap(const std::string& title, std::chrono::milliseconds timeout,
                      const std::function<bool()>& gaveUp);

  private:
    struct DisplayCloser {
        void operator()(Display* display) const { XCloseDisplay(display); }
    };

    int ConnectionFd() const;
    bool HasTitle(Window window, const std::string& title) const;
    // The window the event shows mapped with that title, or None.
    Window MatchesEvent(const XEvent& event, const std::string& title);

    std::unique_ptr<Display, DisplayCloser> display_;
};

}  // namespace tolvane::bench
