#pragma once

#include <string_view>

#include "engine/batch_watch.h"
#include "engine/text.h"

namespace tolvane {

// What a form needs of its window and controls. Every operation raises
// Error when the platform reports a failure.

class Window {
  public:
    virtual ~Window() = default;
    // Activates the window and gives it the input focus.
    virtual void TakeFocus() = 0;
    // Watches the window's batches: shows how far a long one has come, and
    // stops it when the user asks.
    virtual BatchWatch& Watch() = 0;
};

class Label {
  public:
    virtual ~Label() = default;
    virtual void SetCaption(const Text& caption) = 0;
    virtual void SetVisible(bool visible) = 0;
};

class TextBox {
  public:
    virtual ~TextBox() = default;
    // The text exactly as the user typed it.
    virtual Text GetText() const = 0;
    virtual void SetVisible(bool visible) = 0;
};

class MenuItem {
  public:
    virtual ~MenuItem() = default;
    virtual void SetChecked(bool checked) = 0;
};

// The window and controls a front end built from a FormDescription, found by
// the names the description gives them. An unknown name raises Error.
class FormControls {
  public:
    virtual ~FormControls() = default;
    virtual Window& window() = 0;
    virtual Label& label(std::string_view name) = 0;
    virtual TextBox& textBox(std::string_view name) = 0;
    virtual MenuItem& menuItem(std::string_view name) = 0;
};

}  // namespace tolvane
