#pragma once

#include <string>

#include "platform/control_lookup.h"

#include "platform/win32/win32_controls.h"

namespace tolvane {

// The controls of one window by the names its description gives them.
class Win32FormControls : public FormControls {
  public:
    explicit Win32FormControls(HWND window) : window_(window) {}

    void AddLabel(const std::string& name, HWND label);
    void AddTextBox(const std::string& name, HWND box);
    void AddMenuItem(const std::string& name, HMENU menu, UINT command);

    Window& window() override { return window_; }
    Label& label(std::string_view name) override;
    TextBox& textBox(std::string_view name) override;
    MenuItem& menuItem(std::string_view name) override;

  private:
    Win32Window window_;
    ControlsByName<Win32Label> labels_;
    ControlsByName<Win32TextBox> textBoxes_;
    ControlsByName<Win32MenuItem> menuItems_;
};

}  // namespace tolvane
