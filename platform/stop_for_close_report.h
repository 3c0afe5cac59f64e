#pragma once

#include "platform/error_report.h"

namespace tolvane {

// The report of one drop, during which the user may close the window. A
// batch the closing stopped needs no report: the window closes instead.
// Any other error is shown as always, and the window stays open, so that
// the failure is seen.
class StopForCloseReport : public ErrorReport {
  public:
    StopForCloseReport(ErrorReport& report, const bool& closing)
        : report_(report), closing_(closing) {}

    void Show(const Error& error) override {
        if (closing_ && dynamic_cast<const BatchStopped*>(&error) != nullptr) return;
        shown_ = true;
        report_.Show(error);
    }

    // After the drop: whether the window should close now.
    bool CloseNow() const { return closing_ && !shown_; }

  private:
    ErrorReport& report_;
    const bool& closing_;
    bool shown_ = false;
};

}  // namespace tolvane
