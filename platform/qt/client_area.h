#pragma once

#include <QWidget>

#include "platform/form_description.h"
#include "platform/qt/qt_form_controls.h"

namespace tolvane {

// The form's client area at its fixed size: every control at its place, named
// after the description, each label the buddy of its box, the boxes in tab
// order with the focus in the first. The controls are added to `controls`.
QWidget* BuildClientArea(const FormDescription& form, QtFormControls& controls);

}  // namespace tolvane
