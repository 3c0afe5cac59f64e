#include "bench/rename_watch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace tolvane::bench {

namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

}  // namespace

RenameWatch::RenameWatch(const std::vector<std::string>& paths)
    : inotify_(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK)) {
    if (!inotify_.valid()) Fail("inotify_init1");
    for (const std::string& path : paths) {
        const int watch = ::inotify_add_watch(inotify_.get(), path.c_str(),
                                              IN_MOVE_SELF | IN_ONESHOT | IN_DONT_FOLLOW);
        if (watch < 0) Fail("inotify_add_watch " + path);
        watches_.push_back(watch);
    }
}

std::vector<RenameWatch::Clock::time_point> RenameWatch::WaitForAll(
    std::chrono::milliseconds timeout, const std::function<bool()>& gaveUp) {
    std::vector<Clock::time_point> seen(watches_.size());
    std::size_t pending = watches_.size();
    const Clock::time_point deadline = Clock::now() + timeout;
    while (pending > 0) {
        // Short slices, so that giving up is noticed quickly; an event wakes
        // the poll at once.
        pollfd events{inotify_.get(), POLLIN, 0};
        if (::poll(&events, 1, 20) > 0) ReadEvents(seen, pending);
        if (pending == 0) break;
        if (Clock::now() > deadline) throw std::runtime_error("the files were not renamed in time");
        // Whatever made us give up may have come after the last rename.
        if (gaveUp()) {
            ReadEvents(seen, pending);
            if (pending > 0) throw std::runtime_error("the drop ended before the last rename");
        }
    }
    return seen;
}

void RenameWatch::ReadEvents(std::vector<Clock::time_point>& seen, std::size_t& pending) {
    alignas(inotify_event) char buffer[4096];
    const ssize_t size = ::read(inotify_.get(), buffer, sizeof buffer);
    const Clock::time_point now = Clock::now();
    if (size < 0) {
        if (errno == EAGAIN || errno == EINTR) return;
        Fail("read inotify");
    }
    for (ssize_t offset = 0; offset < size;) {
        inotify_event event;
        std::memcpy(&event, buffer + offset, sizeof event);
        offset += static_cast<ssize_t>(sizeof event + event.len);
        // One-shot watches also report their own removal (IN_IGNORED).
        if ((event.mask & IN_MOVE_SELF) == 0) continue;
        const auto found = std::find(watches_.begin(), watches_.end(), event.wd);
        if (found == watches_.end()) continue;
        seen[static_cast<std::size_t>(found - watches_.begin())] = now;
        --pending;
    }
}

}  // namespace tolvane::bench
