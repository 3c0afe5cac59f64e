#pragma once

#include <sys/types.h>

namespace tolvane::bench {

// A program started with fork and exec; terminated and reaped at the end if it
// is still running.
class ChildProcess {
  public:
    enum class Output { kShared, kDiscarded };

    // argv ends with a null pointer. Raises std::runtime_error if fork fails;
    // a failed exec shows as the child exiting with status 127. Its standard
    // output is ours unless discarded; its errors always are.
    explicit ChildProcess(char* const* argv, Output output = Output::kShared);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    pid_t pid() const { return pid_; }
    bool HasExited();

    // The process's peak resident memory so far (VmHWM), in kB.
    long PeakResidentKb() const;

    // The time all its threads have spent on a processor so far, in ms.
    double CpuMs() const;

  private:
    void Stop();

    pid_t pid_ = -1;
    bool reaped_ = false;
};

}  // namespace tolvane::bench
