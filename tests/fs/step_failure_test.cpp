#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <set>

#include <gtest/gtest.h>

#include "mounted_filesystems.h"
#include "temp_dir.h"

extern char** environ;

namespace tolvane::testing_files {
namespace {

constexpr int kCrashExit = 86;  // the shim's exit when it ends the process

// A rename whose steps are each made to misbehave in turn.
struct Scenario {
    std::string name;
    std::string from;
    std::string to;
    bool folder = false;
    bool empty = false;  // then told apart from a placeholder by its date
};

void PrintTo(const Scenario& s, std::ostream* out) { *out << s.name; }

const std::vector<Scenario>& Scenarios() {
    static const std::vector<Scenario> scenarios = {
        {"File", "a.txt", "b.txt"},
        {"EmptyFile", "a.txt", "b.txt", false, true},
        {"Folder", "Album", "Old Album", true},
        {"EmptyFolder", "Album", "Old Album", true, true},
        {"LetterCase", "report.txt", "Report.txt"},
        {"LetterCaseOfFolder", "album", "Album", true},
    };
    return scenarios;
}

struct ToolRun {
    int status = 0;      // the tool's exit status
    std::string output;  // what it printed, and the step the shim played
};

// Runs the renamer in its own process with the shim playing `mode` at `step`.
ToolRun RenameWithStep(const std::string& from, const std::string& to, int step,
                       const std::string& mode, const std::string& backing) {
    const std::string log =
        TempDir::TempRoot() + "/tolvane-step-" + std::to_string(::getpid()) + ".log";
    const std::string command =
        "LD_PRELOAD='" TOLVANE_STEP_SHIM "' TOLVANE_STEP=" + std::to_string(step) +
        " TOLVANE_STEP_MODE=" + mode + " TOLVANE_STEP_BACKING='" + backing + "'" +
        " '" TOLVANE_RENAME_TOOL "' \"$0\" \"$1\" >\"$2\" 2>&1";
    const char* argv[] = {"sh",       "-c",        command.c_str(), from.c_str(),
                          to.c_str(), log.c_str(), nullptr};
    pid_t child = 0;
    ToolRun run;
    if (::posix_spawnp(&child, "sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
        run.status = -1;
        return run;
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(log);
    run.output.assign(std::istreambuf_iterator<char>(in), {});
    std::remove(log.c_str());
    return run;
}

std::string Quoted(const std::string& name) { return "\u201C" + name + "\u201D"; }

bool IsEmptyPlaceholder(const Snapshot& after, const std::string& name) {
    const Snapshot entry = EntryIn(after, name);
    return entry == Snapshot{{"", "file:"}} || entry == Snapshot{{"", "folder"}};
}

// After any step failed, lied or ended the process: the entry lives on under
// its old or its new name (or, while a change of spelling is under way, a
// visible temporary name that an error names); nothing else was touched;
// whatever is left behind is visible, and named when an error is shown.
void ExpectNothingLost(const Scenario& s, const Snapshot& before, const Snapshot& after,
                       const ToolRun& run) {
    const Snapshot entry = EntryIn(before, s.from);
    EXPECT_EQ(EntryIn(after, "keep.txt"), EntryIn(before, "keep.txt"));
    if (run.status == 0) {
        EXPECT_EQ(after, Moved(before, s.from, s.to));
        return;
    }
    std::set<std::string> holders;
    for (const auto& [path, what] : after) {
        if (path.find('/') != std::string::npos || path == "keep.txt") continue;
        EXPECT_NE(path[0], '.') << "hidden leftover " << path;
        if (EntryIn(after, path) == entry) {
            holders.insert(path);
            const bool temporary = path.rfind("tolvane-renaming-", 0) == 0;
            EXPECT_TRUE(path == s.from || path == s.to || temporary) << "entry moved to " << path;
            if (temporary && run.status != kCrashExit) {
                EXPECT_NE(run.output.find(Quoted(path)), std::string::npos)
                    << "the error does not name " << path;
            }
        } else {
            EXPECT_TRUE(IsEmptyPlaceholder(after, path)) << "unexpected " << path;
            if (run.status != kCrashExit) {
                EXPECT_NE(run.output.find(Quoted(path)), std::string::npos)
                    << "the error does not name the placeholder " << path;
            }
        }
    }
    EXPECT_FALSE(holders.empty()) << "the entry is lost";
}

class StepFailure : public testing::TestWithParam<std::tuple<Scenario, Filesystem>> {};

TEST_P(StepFailure, LeavesTheEntryUnderOneOfItsNames) {
    const auto& [s, fs] = GetParam();
    TOLVANE_REQUIRE_MOUNT(mount, fs);
    if (s.empty && fs.name == "fusefat") {
        GTEST_SKIP() << "fusefat dates a renamed entry anew, so an empty one cannot be told from "
                        "a placeholder";
    }
    std::vector<std::string> modes = {"fail", "lie", "crash"};
    // The passthrough shows a folder that the shim can change behind it.
    const std::string backing = mount + ":" + std::getenv("TOLVANE_FS_ROOT") + "/bindfs-source";
    if (fs.name == "bindfs") modes.push_back("behind");
    for (const std::string& mode : modes) {
        for (int step = 1;; ++step) {
            SCOPED_TRACE(mode + " at step " + std::to_string(step));
            const TempDir dir(mount);
            WriteFile(dir / "keep.txt", "K");
            if (s.folder) {
                ::mkdir((dir / s.from).c_str(), 0755);
                if (!s.empty) WriteFile(dir / (s.from + "/song"), "S");
            } else {
                WriteFile(dir / s.from, s.empty ? "" : "A");
            }
            if (s.empty) {
                const struct timespec year2001[2] = {{978307200, 0}, {978307200, 0}};
                ASSERT_EQ(::utimensat(AT_FDCWD, (dir / s.from).c_str(), year2001, 0), 0);
            }
            const Snapshot before = TakeSnapshot(dir.path());
            const ToolRun run = RenameWithStep(dir / s.from, dir / s.to, step, mode, backing);
            if (run.output.find("step " + std::to_string(step) + ":") == std::string::npos) break;
            ExpectNothingLost(s, before, TakeSnapshot(dir.path()), run);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, StepFailure,
                         testing::Combine(testing::ValuesIn(Scenarios()),
                                          testing::ValuesIn(FuseFilesystems())),
                         [](const auto& info) {
                             return std::get<0>(info.param).name + "_" +
                                    ParamName(std::get<1>(info.param).name);
                         });

}  // namespace
}  // namespace tolvane::testing_files
