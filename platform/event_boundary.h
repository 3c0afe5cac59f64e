#pragma once

#include <functional>

#include "platform/error_report.h"

namespace tolvane {

// Runs one event handler. This is the only place errors are caught: one that
// would escape into the toolkit is shown by `report`, and the program goes on
// with the state the handler left.
void RunEventHandler(ErrorReport& report, const std::function<void()>& handler);

}  // namespace tolvane
