#include "bench/fake_input.h"

#include <X11/extensions/XTest.h>
#include <fcntl.h>

#include <cstdio>
#include <stdexcept>
#include <thread>

namespace tolvane::bench {

namespace {

struct XFreer {
    void operator()(Window* windows) const { XFree(windows); }
};

constexpr unsigned int kLeftButton = 1;

// Windows come and go while the bench looks at them (menus, a drag's icon);
// asking about one that has just gone is no fault. Xlib's own handler would
// end the process on any error.
int IgnoreVanishedWindows(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow || error->error_code == BadDrawable) return 0;
    char text[256];
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "X error: %s (request %d)\n", text, error->request_code);
    return 0;
}

}  // namespace

FakeInput::FakeInput() : display_(XOpenDisplay(nullptr)) {
    XSetErrorHandler(IgnoreVanishedWindows);
    if (!display_) throw std::runtime_error("cannot open the X display");
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display_.get(), &eventBase, &errorBase, &major, &minor)) {
        throw std::runtime_error("the X server lacks the XTEST extension");
    }
    ::fcntl(ConnectionNumber(display_.get()), F_SETFD, FD_CLOEXEC);
}

void FakeInput::MovePointer(int x, int y) {
    XTestFakeMotionEvent(display_.get(), -1, x, y, CurrentTime);
    XSync(display_.get(), False);
}

void FakeInput::PressButton() {
    XTestFakeButtonEvent(display_.get(), kLeftButton, True, CurrentTime);
    XSync(display_.get(), False);
}

void FakeInput::ReleaseButton() {
    // Only flushed: whoever times the release should not wait for a round
    // trip the server answers after it has passed the release on.
    XTestFakeButtonEvent(display_.get(), kLeftButton, False, CurrentTime);
    XFlush(display_.get());
}

void FakeInput::Click(int x, int y) {
    MovePointer(x, y);
    PressButton();
    ReleaseButton();
    XSync(display_.get(), False);
}

void FakeInput::Keys(const std::vector<KeySym>& chord) {
    std::vector<KeyCode> codes;
    for (const KeySym key : chord) {
        const KeyCode code = XKeysymToKeycode(display_.get(), key);
        if (code == 0) throw std::runtime_error("the keyboard map lacks a key the bench types");
        codes.push_back(code);
    }
    for (const KeyCode code : codes) XTestFakeKeyEvent(display_.get(), code, True, CurrentTime);
    for (auto code = codes.rbegin(); code != codes.rend(); ++code) {
        XTestFakeKeyEvent(display_.get(), *code, False, CurrentTime);
    }
    XSync(display_.get(), False);
}

void FakeInput::Focus(Window window) {
    XSetInputFocus(display_.get(), window, RevertToParent, CurrentTime);
    XSync(display_.get(), False);
}

void FakeInput::MoveWindow(Window window, int x, int y) {
    XMoveWindow(display_.get(), window, x, y);
    XSync(display_.get(), False);
}

ScreenRect FakeInput::Frame(Window window) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display_.get(), window, &attributes) == 0) {
        throw std::runtime_error("a window the bench drives has gone");
    }
    ScreenRect rect{0, 0, attributes.width, attributes.height};
    Window child = None;
    XTranslateCoordinates(display_.get(), window, DefaultRootWindow(display_.get()), 0, 0, &rect.x,
                          &rect.y, &child);
    return rect;
}

bool FakeInput::PopupShowing() {
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display_.get(), DefaultRootWindow(display_.get()), &root, &parent, &children,
                   &count) == 0) {
        return false;
    }
    const std::unique_ptr<Window, XFreer> owned(children);
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes{};
        // A window may go between the listing and the question.
        if (XGetWindowAttributes(display_.get(), children[i], &attributes) != 0 &&
            attributes.override_redirect && attributes.map_state == IsViewable) {
            return true;
        }
    }
    return false;
}

bool FakeInput::SelectionOwned(const char* selection) {
    const Atom atom = XInternAtom(display_.get(), selection, False);
    return XGetSelectionOwner(display_.get(), atom) != None;
}

void WaitUntil(const std::function<bool()>& done, const std::string& what,
               std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            throw std::runtime_error("timed out waiting until " + what);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

}  // namespace tolvane::bench
