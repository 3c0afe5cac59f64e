#pragma once

#include "platform/paced_batch_watch.h"

namespace tolvane::bench {

// The front ends' watch with nothing to show: what a batch pays for being
// watched, a reading of the clock per entry, and a look every 50 ms once it
// has run for half a second.
class QuietWatch : public PacedBatchWatch {
  protected:
    bool Look(Short, Short) override { return false; }
    void Finish() noexcept override {}
};

}  // namespace tolvane::bench
