#include "bench/child_process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>

namespace tolvane::bench {

ChildProcess::ChildProcess(char* const* argv) {
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (pid_ == 0) {
        ::execvp(argv[0], argv);
        ::_exit(127);
    }
}

ChildProcess::~ChildProcess() { Stop(); }

bool ChildProcess::HasExited() {
    if (!reaped_ && ::waitpid(pid_, nullptr, WNOHANG) == pid_) reaped_ = true;
    return reaped_;
}

long ChildProcess::PeakResidentKb() const {
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    }
    throw std::runtime_error("no VmHWM for process " + std::to_string(pid_));
}

void ChildProcess::Stop() {
    if (HasExited()) return;
    ::kill(pid_, SIGTERM);
    // A window program may ignore SIGTERM; after two seconds it gets SIGKILL.
    for (int wait = 0; wait < 200 && !HasExited(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (HasExited()) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    reaped_ = true;
}

}  // namespace tolvane::bench
