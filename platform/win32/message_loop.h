#pragma once

#include <windows.h>

namespace tolvane {

// Ctrl+A in an edit box selects all its text; older edit controls, and
// Wine's, do nothing with it. True when `message` was that key and handled.
bool HandleSelectAll(const MSG& message);

// Runs the thread's messages until WM_QUIT, with dialog keys (Tab between
// the boxes) for `window`. Returns WM_QUIT's exit code.
int RunMessageLoop(HWND window);

}  // namespace tolvane
