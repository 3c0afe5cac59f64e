#include "bench/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>

namespace tolvane::bench {

ChildProcess::ChildProcess(char* const* argv, Output output) {
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (pid_ == 0) {
        if (output == Output::kDiscarded) {
            const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
            if (null < 0 || ::dup2(null, STDOUT_FILENO) < 0) ::_exit(127);
        }
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

double ChildProcess::CpuMs() const {
    // schedstat's first field counts nanoseconds, where the times in stat
    // count whole clock ticks.
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid_) + "/task";
    double totalNs = 0;
    for (const auto& task : std::filesystem::directory_iterator(tasks)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double runNs = 0;
        // A thread that ended meanwhile takes its time with it.
        if (schedstat >> runNs) totalNs += runNs;
    }
    return totalNs / 1e6;
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
