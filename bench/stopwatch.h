#pragma once

#include <time.h>

#include <chrono>

namespace tolvane::bench {

// What one timed section took, in milliseconds.
struct Timing {
    double wallMs = 0;
    // User and system time of this process. Other programs running on the
    // same cores inflate it much less than they inflate the wall time.
    double cpuMs = 0;
};

// Wall-clock and CPU time since construction.
class Stopwatch {
  public:
    Timing Elapsed() const { return Timing{WallMs() - wallStart_, CpuMs() - cpuStart_}; }

  private:
    static double WallMs() {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return std::chrono::duration<double, std::milli>(now).count();
    }
    static double CpuMs() {
        timespec now{};
        ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
    }

    double wallStart_ = WallMs();
    double cpuStart_ = CpuMs();
};

}  // namespace tolvane::bench
