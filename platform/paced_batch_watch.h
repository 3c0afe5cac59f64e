#pragma once

#include <chrono>

#include "engine/batch_watch.h"

namespace tolvane {

// The watch of a front end that keeps its window alive during a long batch.
// A batch costs it one reading of the clock per entry; only once the batch
// has run for half a second does the front end look in: it shows the
// progress and handles the window's waiting events, then again every 50 ms.
// A drop on a local disk is over long before, and looks as it always did.
class PacedBatchWatch : public BatchWatch {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kQuietStart = std::chrono::milliseconds(500);
    static constexpr Clock::duration kLookEvery = std::chrono::milliseconds(50);

    void BeginBatch(Short count) final;
    bool StopAfter(Short done) final {
        const Clock::time_point now = Clock::now();
        if (now < nextLook_) [[likely]]
            return false;
        nextLook_ = now + kLookEvery;
        looked_ = true;
        return Look(done, count_);
    }
    void EndBatch() noexcept final;

  protected:
    // Shows that `done` of `count` entries are renamed and handles the
    // window's waiting events. True when the user has asked to stop.
    virtual bool Look(Short done, Short count) = 0;
    // Ends a batch that Look was called in: the progress goes.
    virtual void Finish() noexcept = 0;

  private:
    Short count_ = 0;
    Clock::time_point nextLook_{};
    bool looked_ = false;
};

}  // namespace tolvane
