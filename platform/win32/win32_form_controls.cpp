#include "platform/win32/win32_form_controls.h"

namespace tolvane {

void Win32FormControls::AddLabel(const std::string& name, HWND label) {
    labels_.try_emplace(name, label);
}

void Win32FormControls::AddTextBox(const std::string& name, HWND box) {
    textBoxes_.try_emplace(name, box);
}

void Win32FormControls::AddMenuItem(const std::string& name, HMENU menu, UINT command) {
    menuItems_.try_emplace(name, menu, command);
}

Label& Win32FormControls::label(std::string_view name) {
    return FindControl(labels_, name, "label");
}

TextBox& Win32FormControls::textBox(std::string_view name) {
    return FindControl(textBoxes_, name, "text box");
}

MenuItem& Win32FormControls::menuItem(std::string_view name) {
    return FindControl(menuItems_, name, "menu item");
}

}  // namespace tolvane
