#pragma once

#include <string>

#include "platform/control_lookup.h"

#include "platform/qt/qt_controls.h"

namespace tolvane {

// The controls of one window by the names its description gives them.
class QtFormControls : public FormControls {
  public:
    explicit QtFormControls(QWidget& window) : window_(window) {}

    void AddLabel(const std::string& name, QLabel& label);
    void AddTextBox(const std::string& name, QLineEdit& box);
    void AddMenuItem(const std::string& name, QAction& action);

    Window& window() override { return window_; }
    Label& label(std::string_view name) override;
    TextBox& textBox(std::string_view name) override;
    MenuItem& menuItem(std::string_view name) override;

  private:
    QtWindow window_;
    ControlsByName<QtLabel> labels_;
    ControlsByName<QtTextBox> textBoxes_;
    ControlsByName<QtMenuItem> menuItems_;
};

}  // namespace tolvane
