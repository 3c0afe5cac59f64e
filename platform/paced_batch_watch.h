#pragma once

#include <chrono>

#include "engine/batch_watch.h"

namespace tolvane {

// The watch of a front end that keeps its window alive during a long batch.
// Only once the batch has run for half a second does the front end look in:
// it shows the progress and handles the window's waiting events, then again
// every 50 ms. A drop on a local disk is over long before, and looks as it
// always did. Even the clock is read only every few entries where they come
// quickly, so such a drop pays no more than a count between two renames.
class PacedBatchWatch : public BatchWatch {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kQuietStart = std::chrono::milliseconds(500);
    static constexpr Clock::duration kLookEvery = std::chrono::milliseconds(50);

    void BeginBatch(Short count) final;
    bool StopAfter(Short done) final {
        if (--untilReading_ > 0) [[likely]]
            return false;
        return ReadClock(done);
    }
    void EndBatch() noexcept final;

  protected:
    // Shows that `done` of `count` entries are renamed and handles the
    // window's waiting events. True when the user has asked to stop.
    virtual bool Look(Short done, Short count) = 0;
    // Ends a batch that Look was called in: the progress goes.
    virtual void Finish() noexcept = 0;

  private:
    bool ReadClock(Short done);

    Short count_ = 0;
    int stride_ = 1;  // entries from one reading of the clock to the next
    int untilReading_ = 1;
    Clock::time_point lastReading_{};
    Clock::time_point nextLook_{};
    bool looked_ = false;
};

}  // namespace tolvane
