#pragma once

#include "platform/named_form_controls.h"
#include "platform/win32/win32_controls.h"

namespace tolvane {

// The controls of one Win32 window by their names.
using Win32FormControls = NamedFormControls<Win32Window, Win32Label, Win32TextBox, Win32MenuItem>;

}  // namespace tolvane
