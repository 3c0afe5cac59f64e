#pragma once

#include "bench/drop_route.h"

namespace tolvane::bench {

// The Qt front end's route: a QMimeData carrying the list, read by QtDropData.
DropRoute QtDropRoute();

}  // namespace tolvane::bench
