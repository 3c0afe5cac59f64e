#pragma once

#include "platform/form_description.h"

namespace tolvane {

// The main window's layout: controls, captions, geometry and menu.
const FormDescription& Form1Description();

}  // namespace tolvane
