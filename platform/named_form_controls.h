#pragma once

#include <cerrno>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "engine/error.h"
#include "platform/window_services.h"

namespace tolvane {

// The window and controls a front end built, by the names the form's
// description gives them. Each front end names its own control types; an
// unknown name, or one of another kind, raises Error.
template <typename WindowType, typename LabelType, typename TextBoxType, typename MenuItemType>
class NamedFormControls : public FormControls {
  public:
    template <typename... Handle>
    explicit NamedFormControls(Handle&&... window) : window_(std::forward<Handle>(window)...) {}

    template <typename... Handle>
    void AddLabel(const std::string& name, Handle&&... label) {
        labels_.try_emplace(name, std::forward<Handle>(label)...);
    }
    template <typename... Handle>
    void AddTextBox(const std::string& name, Handle&&... box) {
        textBoxes_.try_emplace(name, std::forward<Handle>(box)...);
    }
    template <typename... Handle>
    void AddMenuItem(const std::string& name, Handle&&... item) {
        menuItems_.try_emplace(name, std::forward<Handle>(item)...);
    }

    Window& window() override { return window_; }
    Label& label(std::string_view name) override { return Find(labels_, name, "label"); }
    TextBox& textBox(std::string_view name) override { return Find(textBoxes_, name, "text box"); }
    MenuItem& menuItem(std::string_view name) override {
        return Find(menuItems_, name, "menu item");
    }

  private:
    template <typename Control>
    using ByName = std::map<std::string, Control, std::less<>>;

    template <typename Control>
    static Control& Find(ByName<Control>& controls, std::string_view name, std::string_view kind) {
        const auto found = controls.find(name);
        if (found == controls.end()) {
            const std::string message =
                "No " + std::string(kind) + " named \"" + std::string(name) + "\"";
            throw Error(EINVAL, Text(message.begin(), message.end()));
        }
        return found->second;
    }

    WindowType window_;
    ByName<LabelType> labels_;
    ByName<TextBoxType> textBoxes_;
    ByName<MenuItemType> menuItems_;
};

}  // namespace tolvane
