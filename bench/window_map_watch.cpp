#include "bench/window_map_watch.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>

#include <stdexcept>

namespace tolvane::bench {

namespace {

struct XFreer {
    void operator()(unsigned char* data) const { XFree(data); }
};

std::string Utf8Property(Display* display, Window window, const char* name) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* raw = nullptr;
    const Atom property = XInternAtom(display, name, False);
    const int status =
        XGetWindowProperty(display, window, property, 0, 1024, False, AnyPropertyType, &type,
                           &format, &count, &remaining, &raw);
    const std::unique_ptr<unsigned char, XFreer> data(raw);
    if (status != Success || !data || format != 8) return {};
    return std::string(reinterpret_cast<const char*>(data.get()), count);
}

}  // namespace

WindowMapWatch::WindowMapWatch() : display_(XOpenDisplay(nullptr)) {
    if (!display_) throw std::runtime_error("cannot open the X display");
    // Without a window manager every top-level window is a child of the root,
    // so its MapNotify reaches whoever listens to the root's substructure.
    XSelectInput(display_.get(), DefaultRootWindow(display_.get()), SubstructureNotifyMask);
    // Make sure the server listens before the program is started.
    XSync(display_.get(), False);
    ::fcntl(ConnectionFd(), F_SETFD, FD_CLOEXEC);
}

int WindowMapWatch::ConnectionFd() const { return ConnectionNumber(display_.get()); }

bool WindowMapWatch::HasTitle(Window window, const std::string& title) const {
    return Utf8Property(display_.get(), window, "_NET_WM_NAME") == title ||
           Utf8Property(display_.get(), window, "WM_NAME") == title;
}

Window WindowMapWatch::MatchesEvent(const XEvent& event, const std::string& title) {
    if (event.type == MapNotify) {
        if (HasTitle(event.xmap.window, title)) return event.xmap.window;
        // Mapped before it was named: match when the name arrives.
        XSelectInput(display_.get(), event.xmap.window, PropertyChangeMask);
        return None;
    }
    if (event.type == PropertyNotify) {
        XWindowAttributes attributes{};
        const Window window = event.xproperty.window;
        const bool matches = XGetWindowAttributes(display_.get(), window, &attributes) != 0 &&
                             attributes.map_state == IsViewable && HasTitle(window, title);
        return matches ? window : None;
    }
    return None;
}

WindowMapWatch::Mapped WindowMapWatch::WaitForMap(const std::string& title,
                                                  std::chrono::milliseconds timeout,
                                                  const std::function<bool()>& gaveUp) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        while (XPending(display_.get()) > 0) {
            XEvent event{};
            XNextEvent(display_.get(), &event);
            const Clock::time_point seen = Clock::now();
            if (const Window window = MatchesEvent(event, title); window != None) {
                return {window, seen};
            }
        }
        if (gaveUp()) throw std::runtime_error("the program ended before its window was mapped");
        // Short slices so that an exited program is noticed quickly.
        pollfd connection{ConnectionFd(), POLLIN, 0};
        ::poll(&connection, 1, 20);
    }
    throw std::runtime_error("no window titled \"" + title + "\" was mapped in time");
}

}  // namespace tolvane::bench
