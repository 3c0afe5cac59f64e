#pragma once

#include <windows.h>

#include "platform/window_services.h"

namespace tolvane {

// The window services on Win32 handles. Each call checks what the system
// returns and raises Error on failure.

class Win32Window : public Window {
  public:
    Win32Window(HWND window, BatchWatch& watch) : window_(window), watch_(watch) {}
    void TakeFocus() override;
    BatchWatch& Watch() override { return watch_; }

  private:
    HWND window_;
    BatchWatch& watch_;
};

class Win32Label : public Label {
  public:
    explicit Win32Label(HWND label) : label_(label) {}
    void SetCaption(const Text& caption) override;
    void SetVisible(bool visible) override;

  private:
    HWND label_;
};

class Win32TextBox : public TextBox {
  public:
    explicit Win32TextBox(HWND box) : box_(box) {}
    Text GetText() const override;
    void SetVisible(bool visible) override;

  private:
    HWND box_;
};

class Win32MenuItem : public MenuItem {
  public:
    Win32MenuItem(HMENU menu, UINT command) : menu_(menu), command_(command) {}
    void SetChecked(bool checked) override;

  private:
    HMENU menu_;
    UINT command_;
};

}  // namespace tolvane
