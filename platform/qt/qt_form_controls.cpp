#include "platform/qt/qt_form_controls.h"

namespace tolvane {

void QtFormControls::AddLabel(const std::string& name, QLabel& label) {
    labels_.try_emplace(name, label);
}

void QtFormControls::AddTextBox(const std::string& name, QLineEdit& box) {
    textBoxes_.try_emplace(name, box);
}

void QtFormControls::AddMenuItem(const std::string& name, QAction& action) {
    menuItems_.try_emplace(name, action);
}

Label& QtFormControls::label(std::string_view name) { return FindControl(labels_, name, "label"); }

TextBox& QtFormControls::textBox(std::string_view name) {
    return FindControl(textBoxes_, name, "text box");
}

MenuItem& QtFormControls::menuItem(std::string_view name) {
    return FindControl(menuItems_, name, "menu item");
}

}  // namespace tolvane
