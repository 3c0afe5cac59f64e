#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/error_report.h"

namespace tolvane {

// Shows the error in a message box over `owner`, titled as the owner is. The
// box blocks input to the program until it is closed, but Show returns at
// once: a drop in progress completes and the program goes on.
class QtErrorReport : public ErrorReport {
  public:
    explicit QtErrorReport(QWidget& owner) : owner_(&owner) {}
    void Show(const Error& error) override;

  private:
    QPointer<QWidget> owner_;
};

}  // namespace tolvane
