#pragma once

#include <QAction>
#include <QMenuBar>
#include <vector>

#include "platform/form_description.h"
#include "platform/qt/qt_form_controls.h"

namespace tolvane {

// Adds the form's menus to `bar`: checkable items in the given order, named
// after the description, with access keys and no shortcut keys. Returns the
// items for the caller to connect.
std::vector<QAction*> BuildMenus(QMenuBar& bar, const FormDescription& form,
                                 QtFormControls& controls);

}  // namespace tolvane
