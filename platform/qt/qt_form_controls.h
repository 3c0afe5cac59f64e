#pragma once

#include "platform/named_form_controls.h"
#include "platform/qt/qt_controls.h"

namespace tolvane {

// The controls of one Qt window by their names.
using QtFormControls = NamedFormControls<QtWindow, QtLabel, QtTextBox, QtMenuItem>;

}  // namespace tolvane
