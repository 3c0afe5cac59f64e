#pragma once

#include <windows.h>

#include "platform/error_report.h"

namespace tolvane {

// Shows an error in a message box titled like its owner window, "Error N:
// description", and lets the program go on once it is closed.
class Win32ErrorReport : public ErrorReport {
  public:
    explicit Win32ErrorReport(HWND owner) : owner_(owner) {}
    void Show(const Error& error) override;

  private:
    HWND owner_;
};

// The message box's text.
Text ErrorReportText(const Error& error);

}  // namespace tolvane
