#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/error.h"
#include "platform/form_description.h"
#include "platform/window_services.h"
#include "recording_fakes.h"

namespace tolvane::testing_fakes {

// Window services that keep their state in memory and log every change as
// "<name>.<property>=<value>", built from a form description.
class FakeFormControls : public FormControls {
    enum class Kind { kLabel, kTextBox, kMenuItem };

  public:
    explicit FakeFormControls(const FormDescription& description) {
        for (const auto& control : description.controls) {
            auto& state = controls_[control.name];
            state.caption = control.caption;
            state.visible = control.visible;
            kinds_[control.name] =
                control.kind == ControlKind::Label ? Kind::kLabel : Kind::kTextBox;
        }
        for (const auto& menu : description.menus) {
            for (const auto& item : menu.items) {
                controls_[item.name].checked = item.checked;
                kinds_[item.name] = Kind::kMenuItem;
                menuOrder_.push_back(item.name);
            }
        }
    }

    struct State {
        Text caption{};  // label caption or text box text
        bool visible = true;
        bool checked = false;
        bool operator==(const State&) const = default;
    };

    Window& window() override { return window_; }
    Label& label(std::string_view name) override {
        return Find<Label>(labels_, name, Kind::kLabel);
    }
    TextBox& textBox(std::string_view name) override {
        return Find<TextBox>(boxes_, name, Kind::kTextBox);
    }
    MenuItem& menuItem(std::string_view name) override {
        return Find<MenuItem>(items_, name, Kind::kMenuItem);
    }

    State& state(const std::string& name) { return controls_.at(name); }
    std::vector<std::string> checkedItems() const {
        std::vector<std::string> checked;
        for (const auto& name : menuOrder_) {
            if (controls_.at(name).checked) checked.push_back(name);
        }
        return checked;
    }
    std::map<std::string, State> snapshot() const { return controls_; }

    std::vector<std::string> log;
    int focusRequests = 0;
    StoppingWatch watch;

  private:
    struct FakeControl : Label, TextBox, MenuItem {
        FakeFormControls* owner = nullptr;
        std::string name;

        void SetCaption(const Text& caption) override {
            owner->controls_.at(name).caption = caption;
            owner->log.push_back(name + ".caption=" + ToDisplayUtf8(caption));
        }
        void SetVisible(bool visible) override {
            owner->controls_.at(name).visible = visible;
            owner->log.push_back(name + ".visible=" + (visible ? "1" : "0"));
        }
        Text GetText() const override { return owner->controls_.at(name).caption; }
        void SetChecked(bool checked) override {
            owner->controls_.at(name).checked = checked;
            owner->log.push_back(name + ".checked=" + (checked ? "1" : "0"));
        }
    };
    struct FakeWindow : Window {
        explicit FakeWindow(FakeFormControls* owner) : owner(owner) {}
        FakeFormControls* owner;
        void TakeFocus() override {
            ++owner->focusRequests;
            owner->log.push_back("Form1.focus");
        }
        BatchWatch& Watch() override { return owner->watch; }
    };

    template <typename Interface>
    Interface& Find(std::map<std::string, FakeControl, std::less<>>& made, std::string_view name,
                    Kind kind) {
        // As a real front end would, refuse a name that is not of that kind.
        const auto found = kinds_.find(std::string(name));
        if (found == kinds_.end() || found->second != kind) {
            throw Error(EINVAL, u"no such control");
        }
        auto [it, inserted] = made.try_emplace(std::string(name));
        it->second.owner = this;
        it->second.name = std::string(name);
        return it->second;
    }

    std::map<std::string, State> controls_;
    std::map<std::string, Kind> kinds_;
    std::vector<std::string> menuOrder_;
    std::map<std::string, FakeControl, std::less<>> labels_, boxes_, items_;
    FakeWindow window_{this};
};

}  // namespace tolvane::testing_fakes
