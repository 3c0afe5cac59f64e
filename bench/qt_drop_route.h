#pragma once

#include "bench/drop_route.h"

namespace tolvane::bench {

// The Qt front end's route: the drop's QMimeData, read by QtDropData.
DropRoute QtDropRoute();

}  // namespace tolvane::bench
