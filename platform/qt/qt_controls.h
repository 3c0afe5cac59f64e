#pragma once

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "platform/window_services.h"

namespace tolvane {

// The window services on Qt widgets, which the window owns; these only refer
// to them. Qt reports no failures for any of these operations.

class QtWindow : public Window {
  public:
    QtWindow(QWidget& window, BatchWatch& watch) : window_(window), watch_(watch) {}
    // Brings the window to the front as the active one. Qt gives the keyboard
    // focus back to the box that last had it (else the first in tab order),
    // so the user can type on at once. On Wayland a client cannot take the
    // focus by itself: Qt asks the compositor through xdg-activation when it
    // has a token for it (from the launcher, or while the program already has
    // the focus); after a drop from another program it has none, and the
    // focus stays where the compositor keeps it.
    void TakeFocus() override;
    BatchWatch& Watch() override { return watch_; }

  private:
    QWidget& window_;
    BatchWatch& watch_;
};

class QtLabel : public Label {
  public:
    explicit QtLabel(QLabel& label) : label_(label) {}
    void SetCaption(const Text& caption) override;
    void SetVisible(bool visible) override { label_.setVisible(visible); }

  private:
    QLabel& label_;
};

class QtTextBox : public TextBox {
  public:
    explicit QtTextBox(QLineEdit& box) : box_(box) {}
    Text GetText() const override;
    void SetVisible(bool visible) override { box_.setVisible(visible); }

  private:
    QLineEdit& box_;
};

class QtMenuItem : public MenuItem {
  public:
    explicit QtMenuItem(QAction& action) : action_(action) {}
    void SetChecked(bool checked) override { action_.setChecked(checked); }

  private:
    QAction& action_;
};

}  // namespace tolvane
