#pragma once

#include <windows.h>

namespace tolvane {

// Shows the hourglass while a batch runs, and puts the cursor back after.
class BusyCursor {
  public:
    BusyCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    ~BusyCursor() { SetCursor(previous_); }

  private:
    HCURSOR previous_;
};

}  // namespace tolvane
