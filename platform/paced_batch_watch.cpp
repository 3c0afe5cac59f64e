#include "platform/paced_batch_watch.h"

namespace tolvane {

void PacedBatchWatch::BeginBatch(Short count) {
    count_ = count;
    nextLook_ = Clock::now() + kQuietStart;
    looked_ = false;
}

void PacedBatchWatch::EndBatch() noexcept {
    if (looked_) Finish();
    looked_ = false;
}

}  // namespace tolvane
