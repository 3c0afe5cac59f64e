#include "platform/qt/qt_form_controls.h"

#include <cerrno>

#include "engine/error.h"

namespace tolvane {

namespace {

template <typename Control>
Control& Find(std::map<std::string, Control, std::less<>>& controls, std::string_view name,
              std::string_view kind) {
    const auto found = controls.find(name);
    if (found == controls.end()) {
        const std::string message =
            "No " + std::string(kind) + " named \"" + std::string(name) + "\"";
        throw Error(EINVAL, Text(message.begin(), message.end()));
    }
    return found->second;
}

}  // namespace

void QtFormControls::AddLabel(const std::string& name, QLabel& label) {
    labels_.try_emplace(name, label);
}

void QtFormControls::AddTextBox(const std::string& name, QLineEdit& box) {
    textBoxes_.try_emplace(name, box);
}

void QtFormControls::AddMenuItem(const std::string& name, QAction& action) {
    menuItems_.try_emplace(name, action);
}

Label& QtFormControls::label(std::string_view name) { return Find(labels_, name, "label"); }

TextBox& QtFormControls::textBox(std::string_view name) {
    return Find(textBoxes_, name, "text box");
}

MenuItem& QtFormControls::menuItem(std::string_view name) {
    return Find(menuItems_, name, "menu item");
}

}  // namespace tolvane
