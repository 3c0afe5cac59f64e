#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/posix/unique_fd.h"

namespace tolvane::bench {

// Sees the moment each of a few files is renamed, through inotify. Each
// file is watched itself rather than its folder: a watch on the folder
// would queue an event for every rename in it. Even so, any watch on a
// filesystem sends every rename on it through the kernel's full
// notification path, 2 to 10% of a rename on tmpfs here: the loops a
// watched side is compared with run under the same watches.
class RenameWatch {
  public:
    using Clock = std::chrono::steady_clock;

    // The files must exist. Raises std::runtime_error when they cannot be
    // watched.
    explicit RenameWatch(const std::vector<std::string>& paths);

    // Waits until every file has been renamed and returns when each rename
    // was seen, in the order of the paths. Raises std::runtime_error after
    // `timeout`, or once `gaveUp()` returns true with a file not renamed.
    std::vector<Clock::time_point> WaitForAll(std::chrono::milliseconds timeout,
                                              const std::function<bool()>& gaveUp);

  private:
    // Reads the events queued and records when they were seen.
    void ReadEvents(std::vector<Clock::time_point>& seen, std::size_t& pending);

    UniqueFd inotify_;
    std::vector<int> watches_;
};

}  // namespace tolvane::bench
