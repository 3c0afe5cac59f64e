#pragma once

#include "platform/form_description.h"

namespace tolvane {

// Where a front end shows a long batch's progress: on the plain surface
// below the boxes, as wide as the two of them. Not part of the form; shown
// only while a batch that has run for a while goes on.
inline ControlDescription ProgressPlace() {
    return {.name = "progress", .left = 75, .top = 900, .width = 2745, .height = 285};
}

}  // namespace tolvane
