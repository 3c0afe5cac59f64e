#include <fcntl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/error.h"
#include "mounted_filesystems.h"
#include "platform/posix/native_path.h"
#include "platform/posix/posix_renamer.h"
#include "temp_dir.h"

namespace tolvane::testing_files {
namespace {

constexpr int kRuns = 1000;
// Time in ns for the other process to wake up and act before the rename.
constexpr std::int64_t kLead = 300'000;

std::int64_t Now() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

// Sleeps rather than spins: both processes spinning would take every core
// of a small machine from the filesystem's own process.
void SleepUntil(std::int64_t moment) {
    const timespec at{static_cast<time_t>(moment / 1'000'000'000),
                      static_cast<long>(moment % 1'000'000'000)};
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
}

// What another program does to the names while we rename a.txt to b.txt:
// saves the dropped file the way an editor does, or puts a finished download
// under the new name. Both write a file of their own and rename it into place.
enum class Action : std::int32_t { kSave, kClaim };

const char* NameOf(Action action) { return action == Action::kSave ? "save" : "claim"; }

struct Order {
    Action action;
    std::int32_t run;
    std::int64_t delay;  // ns after the rename starts; before it when negative
    char folder[1024];
};

struct Report {
    std::int32_t error;  // errno of a step that failed, or 0
    std::int64_t began;  // when its rename() was called
    std::int64_t ended;
};

std::string ContentOf(Action action, int run) {
    return std::string(NameOf(action)) + " of run " + std::to_string(run);
}

bool WriteNew(const std::string& path, const std::string& content) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) return false;
    const bool written =
        ::write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
    return ::close(fd) == 0 && written;
}

template <typename T>
bool Send(int socket, const T& message) {
    return ::send(socket, &message, sizeof message, MSG_NOSIGNAL) == sizeof message;
}

template <typename T>
bool Receive(int socket, T& message) {
    return ::recv(socket, &message, sizeof message, 0) == sizeof message;
}

// The other program, in a process of its own: for each order it writes its
// file, answers, waits for the start, and at its moment renames the file
// into place.
[[noreturn]] void Serve(int socket) {
    Order order{};
    while (Receive(socket, order)) {
        const std::string name = NameOf(order.action);
        const std::string folder = order.folder;
        const std::string own = folder + "/x-" + name + "-" + std::to_string(order.run);
        const std::string onto = folder + (order.action == Action::kSave ? "/a.txt" : "/b.txt");
        Report report{};
        if (!WriteNew(own, ContentOf(order.action, order.run))) report.error = errno;
        std::int64_t start = 0;
        if (!Send(socket, report) || !Receive(socket, start)) break;
        SleepUntil(start + order.delay);
        report.began = Now();
        if (::rename(own.c_str(), onto.c_str()) != 0) report.error = errno;
        report.ended = Now();
        if (!Send(socket, report)) break;
    }
    ::_exit(0);
}

class OtherProgram {
  public:
    OtherProgram() {
        int sockets[2];
        if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, sockets) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(sockets[0]);
            Serve(sockets[1]);
        }
        ::close(sockets[1]);
        socket_ = sockets[0];
    }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;
    ~OtherProgram() {
        if (socket_ >= 0) ::close(socket_);
        if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
    }

    bool running() const { return pid_ > 0 && socket_ >= 0; }
    int socket() const { return socket_; }

  private:
    pid_t pid_ = -1;
    int socket_ = -1;
};

// The median time of a rename on this filesystem, with no one else about.
std::int64_t TypicalRename(const std::string& mount) {
    const TempDir dir(mount);
    std::vector<std::int64_t> took;
    for (int i = 0; i < 50; ++i) {
        WriteFile(dir / "a.txt", "A");
        const std::int64_t began = Now();
        PosixRenamer().Rename(FromNativePath(dir / "a.txt"), FromNativePath(dir / "b.txt"));
        took.push_back(Now() - began);
        ::unlink((dir / "b.txt").c_str());
    }
    std::nth_element(took.begin(), took.begin() + 25, took.end());
    return took[25];
}

bool Holds(const Snapshot& folder, const std::string& content) {
    return std::any_of(folder.begin(), folder.end(),
                       [&](const auto& entry) { return entry.second == "file:" + content; });
}

std::string Describe(Action action, const std::string& landed, const std::string& outcome,
                     const Snapshot& folder) {
    std::ostringstream out;
    out << "  " << NameOf(action) << " " << landed << "; " << outcome << "; left:";
    for (const auto& [name, what] : folder) out << " " << name << "=\"" << what << "\"";
    return out.str() + "\n";
}

class RenameRace : public testing::TestWithParam<Filesystem> {};

// Whatever moment another program picks to rename a file of its own onto
// either name, its file is still in the folder afterwards: the rename may
// be refused, but it never removes or replaces what it did not move itself
// (but for the one window that a filesystem without hard links leaves).
// Nor is the dropped file lost, except where that program's own rename
// replaced it.
TEST_P(RenameRace, NeverLosesAnotherProgramsFile) {
    const Filesystem& fs = GetParam();
    TOLVANE_REQUIRE_MOUNT(mount, fs);
    const std::int64_t typical = TypicalRename(mount);
    OtherProgram other;
    ASSERT_TRUE(other.running());

    std::mt19937_64 random(20240611);
    // From a rename's time before it starts to one and a half after: with the
    // other program's own rename taking time too, about a quarter land before
    // the rename and a quarter after it.
    std::uniform_int_distribution<std::int64_t> delays(-typical, typical * 3 / 2);
    int lost[2] = {0, 0};
    int lostInWindow = 0;
    int droppedLost = 0;
    int landings[3] = {0, 0, 0};
    std::string cases;
    std::string droppedCases;
    const std::int64_t testBegan = Now();
    for (int run = 0; run < kRuns; ++run) {
        const TempDir dir(mount);
        const std::string dropped = "dropped file of run " + std::to_string(run);
        WriteFile(dir / "a.txt", dropped);
        Order order{run % 2 == 0 ? Action::kSave : Action::kClaim, run, delays(random), {}};
        ASSERT_LT(dir.path().size(), sizeof order.folder);
        std::strcpy(order.folder, dir.path().c_str());
        Report report{};
        ASSERT_TRUE(Send(other.socket(), order) && Receive(other.socket(), report));
        ASSERT_EQ(report.error, 0) << std::strerror(report.error);

        const std::int64_t start = Now() + kLead + std::max<std::int64_t>(0, -order.delay);
        ASSERT_TRUE(Send(other.socket(), start));
        SleepUntil(start);
        const std::int64_t called = Now();
        std::string outcome = "renamed";
        bool renamed = true;
        try {
            PosixRenamer().Rename(FromNativePath(dir / "a.txt"), FromNativePath(dir / "b.txt"));
        } catch (const RenameError& error) {
            renamed = false;
            outcome = "refused (" + std::to_string(error.number()) +
                      "): " + ToDisplayUtf8(error.description());
        }
        const std::int64_t returned = Now();
        // The other program's rename may be refused (a file cannot replace
        // the folder that reserves the new name): its file stays its own.
        ASSERT_TRUE(Receive(other.socket(), report));

        const int landing = report.ended < called ? 0 : report.began > returned ? 2 : 1;
        ++landings[landing];
        const char* landingNames[] = {"before", "during", "after"};
        const std::string landed = std::string(landingNames[landing]) + " the rename (" +
                                   std::to_string((report.began - called) / 1000) + " us in)";
        const Snapshot after = TakeSnapshot(dir.path());
        if (!Holds(after, ContentOf(order.action, run))) {
            ++lost[static_cast<int>(order.action)];
            // Without hard links, a file renamed onto the new name in the one
            // call before the last is replaced; nothing else ever is.
            if (fs.lacksLinks && order.action == Action::kClaim && landing == 1) {
                ++lostInWindow;
            } else if (lost[0] + lost[1] - lostInWindow <= 5) {
                cases += Describe(order.action, landed, outcome, after);
            }
        }
        // The dropped file is the other program's to replace, unless its
        // save came after the rename had moved the file away, or its claim
        // was done before the rename started (which then had to refuse).
        const bool mustStay = order.action == Action::kSave ? renamed && report.began > returned
                                                            : report.ended < called;
        if (mustStay && !Holds(after, dropped)) {
            if (droppedLost < 5) droppedCases += Describe(order.action, landed, outcome, after);
            ++droppedLost;
        }
    }
    std::cout << fs.name << ": a rename takes " << typical / 1000 << " us; the other program "
              << "acted before it " << landings[0] << ", during it " << landings[1]
              << " and after it " << landings[2] << " times, in " << (Now() - testBegan) / 1'000'000
              << " ms\n";
    if (fs.lacksLinks) {
        std::cout << fs.name << ": the window replaced " << lostInWindow << " of " << kRuns / 2
                  << " files renamed onto the new name\n";
    }
    EXPECT_EQ(lost[0] + lost[1] - lostInWindow, 0)
        << "lost: " << lost[0] << " saves and " << lost[1] << " claims of " << kRuns / 2
        << " each, such as\n"
        << cases;
    EXPECT_EQ(droppedLost, 0) << "the dropped file was lost where nothing else replaced it, as\n"
                              << droppedCases;
}

INSTANTIATE_TEST_SUITE_P(Fuse, RenameRace, testing::ValuesIn(FuseFilesystems()),
                         [](const auto& info) { return ParamName(info.param.name); });

}  // namespace
}  // namespace tolvane::testing_files
