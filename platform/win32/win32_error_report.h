#pragma once

#include <windows.h>

#include "platform/error_report.h"

namespace tolvane {

// Shows an error in a message box, "Error N: description", owned by the
// program's window (if it has one yet), and lets the program go on once it
// is closed.
class Win32ErrorReport : public ErrorReport {
  public:
    Win32ErrorReport(HWND owner, const Text& title) : owner_(owner), title_(title) {}
    void Show(const Error& error) override;

  private:
    HWND owner_;
    Text title_;
};

}  // namespace tolvane
