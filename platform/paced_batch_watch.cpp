#include "platform/paced_batch_watch.h"

#include <algorithm>

namespace tolvane {

namespace {

// Entries that take less than this together are read in larger strides, up
// to the largest: at a few milliseconds an entry (a network share, a stick
// through FUSE) the clock is read after every one, and a stride of fast
// entries followed by slow ones still ends within a fraction of a second.
constexpr PacedBatchWatch::Clock::duration kQuickStride = std::chrono::milliseconds(1);
constexpr int kLargestStride = 16;

}  // namespace

void PacedBatchWatch::BeginBatch(Short count) {
    count_ = count;
    stride_ = 1;
    untilReading_ = 1;
    lastReading_ = Clock::now();
    nextLook_ = lastReading_ + kQuietStart;
    looked_ = false;
}

bool PacedBatchWatch::ReadClock(Short done) {
    const Clock::time_point now = Clock::now();
    stride_ = now - lastReading_ < kQuickStride ? std::min(2 * stride_, kLargestStride) : 1;
    untilReading_ = stride_;
    lastReading_ = now;
    if (now < nextLook_) return false;
    nextLook_ = now + kLookEvery;
    looked_ = true;
    return Look(done, count_);
}

void PacedBatchWatch::EndBatch() noexcept {
    if (looked_) Finish();
    looked_ = false;
}

}  // namespace tolvane
