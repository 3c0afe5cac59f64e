// tolvane-wm-probe ping WINDOW SECONDS: sends WINDOW a _NET_WM_PING, as a
//   window manager does to learn whether a program still answers, and
//   prints how many milliseconds the answer took; exits 1 when none came
//   within SECONDS.
// tolvane-wm-probe close WINDOW: asks WINDOW to close (WM_DELETE_WINDOW), as
//   a window manager does when its frame's close button is clicked.

#include <X11/Xlib.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

void SendProtocolMessage(Display* display, Window window, Atom protocol, long time) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(protocol);
    event.xclient.data.l[1] = time;
    event.xclient.data.l[2] = static_cast<long>(window);
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

// The answer comes back to the root window, as the client sends it there.
bool IsPingAnswer(const XEvent& event, Atom ping, Window window) {
    return event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == ping &&
           static_cast<Window>(event.xclient.data.l[2]) == window;
}

bool WaitForEvent(Display* display, Clock::time_point deadline) {
    while (XPending(display) == 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(left.count()));
    }
    return true;
}

int Ping(Display* display, Window window, double seconds) {
    const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
    // Clients answer to the root window for those who watch its structure
    // (Qt) or its children's (as EWMH has it).
    XSelectInput(display, DefaultRootWindow(display), StructureNotifyMask | SubstructureNotifyMask);
    const auto sent = Clock::now();
    SendProtocolMessage(display, window, ping, CurrentTime);
    const auto deadline =
        sent + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    while (WaitForEvent(display, deadline)) {
        XEvent event;
        XNextEvent(display, &event);
        if (!IsPingAnswer(event, ping, window)) continue;
        const auto took =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - sent);
        std::printf("%lld\n", static_cast<long long>(took.count()));
        return 0;
    }
    std::fprintf(stderr, "no answer to the ping within %g s\n", seconds);
    return 1;
}

int Close(Display* display, Window window) {
    SendProtocolMessage(display, window, XInternAtom(display, "WM_DELETE_WINDOW", False),
                        CurrentTime);
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    const bool ping = argc == 4 && std::strcmp(argv[1], "ping") == 0;
    const bool close = argc == 3 && std::strcmp(argv[1], "close") == 0;
    if (!ping && !close) {
        std::fprintf(stderr, "usage: %s ping WINDOW SECONDS | close WINDOW\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    const auto window = static_cast<Window>(std::stoul(argv[2], nullptr, 0));
    const int status = ping ? Ping(display, window, std::atof(argv[3])) : Close(display, window);
    XCloseDisplay(display);
    return status;
}
