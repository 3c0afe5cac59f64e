#pragma once

#include <windows.h>

#include "engine/error.h"

namespace tolvane {

// The system's text for an error code, without the trailing line break.
Text SystemMessage(DWORD code);

// Raises Error with GetLastError()'s number and text, after `what` failed.
[[noreturn]] void ThrowLastError(const Text& what);

}  // namespace tolvane
