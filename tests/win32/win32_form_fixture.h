#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/form_window.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/window_layout.h"
#include "tests/recording_fakes.h"
#include "tests/win32/hdrop_builder.h"
#include "window/form1_description.h"

namespace tolvane::win32_testing {

inline Text WindowText(HWND window) {
    wchar_t text[256] = {};
    const int length = GetWindowTextW(window, text, 256);
    return Text(text, text + length);
}

inline void SetText(HWND window, const Text& text) { SetWindowTextW(window, ToWide(text).c_str()); }

// The File menu's items, top to bottom, by command number.
inline std::vector<UINT> MenuCommands(HWND window) {
    const HMENU file = GetSubMenu(GetMenu(window), 0);
    std::vector<UINT> commands;
    for (int i = 0; i < GetMenuItemCount(file); ++i) commands.push_back(GetMenuItemID(file, i));
    return commands;
}

// A window built from the main form's description, shown, with the
// description's controls at hand by name.
class Win32FormFixture : public ::testing::Test {
  protected:
    Win32FormFixture() : form_(Form1Description()) {}

    HWND window() const { return form_.handle(); }
    HWND control(std::string_view name) const { return form_.control(name); }

    void ClickMenuItem(int index) {
        SendMessageW(window(), WM_COMMAND, MAKEWPARAM(MenuCommands(window()).at(index), 0), 0);
    }

    // Drops `paths` at `point` in the window's client area, as the shell does.
    void Drop(const std::vector<Text>& paths, POINT point) {
        SendMessageW(window(), WM_DROPFILES,
                     reinterpret_cast<WPARAM>(testing_files::MakeHdrop(paths, point)), 0);
    }

    // A point inside `name`'s place, `dx` and `dy` pixels from its corner.
    POINT PointIn(std::string_view name, int dx = 3, int dy = 4) const {
        for (const ControlDescription& described : Form1Description().controls) {
            if (described.name != name) continue;
            const RECT place = ControlRect(described, ScreenDpi());
            return POINT{place.left + dx, place.top + dy};
        }
        throw std::invalid_argument("no such control");
    }

    // The bare surface below the boxes.
    static POINT Surface() { return POINT{20, 90}; }

    Win32FormWindow form_;
    testing_fakes::RecordingReport report_;
};

}  // namespace tolvane::win32_testing
