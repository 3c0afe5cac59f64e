// tolvane-virtual-pointer WIDTH HEIGHT
// Drives the compositor's pointer like a mouse, through wlroots' virtual
// pointer protocol, for the Wayland end-to-end tests. Reads one command a
// line from standard input:
//   move X Y   moves to X Y, in pixels of an output layout WIDTH x HEIGHT
//   press      presses the left button
//   release    releases it
// and answers each with "ok" once the compositor has received it.
#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace {

struct DisplayCloser {
    void operator()(wl_display* display) const { wl_display_disconnect(display); }
};
struct RegistryDestroyer {
    void operator()(wl_registry* registry) const { wl_registry_destroy(registry); }
};
struct PointerDestroyer {
    void operator()(zwlr_virtual_pointer_v1* pointer) const {
        zwlr_virtual_pointer_v1_destroy(pointer);
    }
};

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals->seat == nullptr) {
        globals->seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        globals->manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    }
}

void OnGlobalRemove(void*, wl_registry*, uint32_t) {}

constexpr wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

uint32_t NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

int Fail(const char* message) {
    std::fprintf(stderr, "tolvane-virtual-pointer: %s\n", message);
    return 1;
}

// Carries out one command line; false for one it does not know.
bool Perform(zwlr_virtual_pointer_v1* pointer, const std::string& line, uint32_t width,
             uint32_t height) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "move") {
        uint32_t x = 0, y = 0;
        if (!(words >> x >> y) || x > width || y > height) return false;
        zwlr_virtual_pointer_v1_motion_absolute(pointer, NowMs(), x, y, width, height);
    } else if (command == "press" || command == "release") {
        zwlr_virtual_pointer_v1_button(pointer, NowMs(), BTN_LEFT,
                                       command == "press" ? WL_POINTER_BUTTON_STATE_PRESSED
                                                          : WL_POINTER_BUTTON_STATE_RELEASED);
    } else {
        return false;
    }
    zwlr_virtual_pointer_v1_frame(pointer);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    const auto width = static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10));
    const auto height = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10));
    if (width == 0 || height == 0) return Fail("the layout's size must be positive");

    std::unique_ptr<wl_display, DisplayCloser> display(wl_display_connect(nullptr));
    if (!display) return Fail("cannot connect to the Wayland display");
    Globals globals;
    std::unique_ptr<wl_registry, RegistryDestroyer> registry(
        wl_display_get_registry(display.get()));
    wl_registry_add_listener(registry.get(), &kRegistryListener, &globals);
    wl_display_roundtrip(display.get());
    if (globals.manager == nullptr) return Fail("the compositor offers no virtual pointer");

    std::unique_ptr<zwlr_virtual_pointer_v1, PointerDestroyer> pointer(
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager, globals.seat));
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!Perform(pointer.get(), line, width, height)) {
            std::fprintf(stderr, "tolvane-virtual-pointer: cannot do \"%s\"\n", line.c_str());
            return 2;
        }
        if (wl_display_roundtrip(display.get()) < 0) return Fail("the compositor went away");
        std::cout << "ok" << std::endl;
    }
    return 0;
}
