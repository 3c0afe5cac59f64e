#pragma once

#include "engine/short_int.h"

namespace tolvane {

// Looks on while a batch runs: a front end may show how far a long batch has
// come, and stop it when the user asks. It is asked only between two
// entries, so no rename is ever cut short.
class BatchWatch {
  public:
    virtual ~BatchWatch() = default;

    virtual void BeginBatch(Short count) = 0;
    // Entry `done` has been renamed and more follow: true stops the batch here.
    virtual bool StopAfter(Short done) = 0;
    // Called however the batch ends.
    virtual void EndBatch() noexcept = 0;
};

// Begins watching on construction and ends it on every way out of the scope.
class BatchWatchScope {
  public:
    BatchWatchScope(BatchWatch& watch, Short count) : watch_(watch) { watch_.BeginBatch(count); }
    BatchWatchScope(const BatchWatchScope&) = delete;
    BatchWatchScope& operator=(const BatchWatchScope&) = delete;
    ~BatchWatchScope() { watch_.EndBatch(); }

  private:
    BatchWatch& watch_;
};

}  // namespace tolvane
