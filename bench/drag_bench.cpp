// Times real drags of the largest size from another program onto the
// program's window, from the release of the mouse button to the last rename,
// against bare renameat2 loops doing the same renames. Every side works in a
// folder four levels below the root, as dragged files usually lie.
//
// Runs on $DISPLAY, an X server without a window manager (scripts/bench.sh
// starts a private Xvfb): the program and the drag source are started fresh
// for each round, the mode is chosen from the keyboard and the drag is made
// with the pointer, all through XTEST.

#include <X11/keysym.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_dir.h"
#include "bench/child_process.h"
#include "bench/comparison.h"
#include "bench/fake_input.h"
#include "bench/file_names.h"
#include "bench/rename_watch.h"
#include "bench/stopwatch.h"
#include "bench/window_map_watch.h"

namespace tolvane::bench {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

constexpr milliseconds kStartTimeout{20000};
constexpr milliseconds kRenameTimeout{120000};

// The drag source shows itself in the top-left corner; the program's window
// goes clear of it.
constexpr int kWindowX = 300;
constexpr int kWindowY = 200;

struct Point {
    int x;
    int y;
};

// Places in the program's window, counted from its bottom edge because the
// menu bar's height depends on the fonts.
Point FindBox(const ScreenRect& window) { return {window.x + 48, window.y + window.height - 85}; }
Point BareSurface(const ScreenRect& window) {
    return {window.x + 100, window.y + window.height - 29};
}

// The paths to drag, each ended by a NUL byte, in a file beside the folder;
// removed at the end.
class PathList {
  public:
    PathList(const BenchDir& dir, const std::vector<std::string>& names)
        : path_(dir.path() + ".list") {
        std::ofstream list(path_, std::ios::binary);
        for (const std::string& name : names) list << (dir / name) << '\0';
        if (!list.flush()) throw std::runtime_error("cannot write " + path_);
    }
    PathList(const PathList&) = delete;
    PathList& operator=(const PathList&) = delete;
    ~PathList() { std::remove(path_.c_str()); }

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Starts a program and returns its window once it is mapped.
Window StartWindowed(ChildProcess& child, WindowMapWatch& watch, const std::string& title) {
    return watch.WaitForMap(title, kStartTimeout, [&child] { return child.HasExited(); }).window;
}

// Number, with "-" between the number and the name: the File menu by its
// access key, then the find box.
void ChooseNumberMode(FakeInput& input, Window window) {
    input.Focus(window);
    input.Keys({XK_Alt_L, XK_f});
    WaitUntil([&input] { return input.PopupShowing(); }, "the File menu opened");
    input.Keys({XK_n});
    WaitUntil([&input] { return !input.PopupShowing(); }, "the File menu closed");
    const Point box = FindBox(input.Frame(window));
    input.Click(box.x, box.y);
    input.Keys({XK_Control_L, XK_a});
    input.Keys({XK_BackSpace});
    input.Keys({XK_minus});
}

// Presses the button in the drag source and carries the drag to `target` as
// a hand would, in steps, then rests there until the window has had time to
// answer; the button stays down.
void CarryDrag(FakeInput& input, const ScreenRect& source, Point target) {
    const Point start{source.x + source.width / 2, source.y + source.height / 2};
    input.MovePointer(start.x, start.y);
    input.PressButton();
    // The drag source owns the drag's selection once it has built the data
    // and the drag is under way.
    WaitUntil([&input] { return input.SelectionOwned("XdndSelection"); }, "the drag started");
    constexpr int kSteps = 12;
    for (int step = 1; step <= kSteps; ++step) {
        input.MovePointer(start.x + (target.x - start.x) * step / kSteps,
                          start.y + (target.y - start.y) * step / kSteps);
        std::this_thread::sleep_for(milliseconds(30));
    }
    // Small moves over the target give it time to send its answer, as a
    // hand's tremor does.
    for (int nudge = 1; nudge <= 3; ++nudge) {
        std::this_thread::sleep_for(milliseconds(150));
        input.MovePointer(target.x + nudge % 2, target.y);
    }
    input.MovePointer(target.x, target.y);
    std::this_thread::sleep_for(milliseconds(200));
}

double MsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// The drags, one per round, with the time from each release to the first
// rename besides: the drop's message, the list's transfer from the drag
// source and its decoding.
class Drags {
  public:
    Timing operator()(const std::string& root);
    const std::vector<double>& firstRenameMs() const { return firstRenameMs_; }

  private:
    FakeInput input_;
    std::vector<double> firstRenameMs_;
};

Timing Drags::operator()(const std::string& root) {
    const BenchDir dir(root);
    const std::vector<std::string> names = MakeNames(kLargestDrop, DroppedName);
    CreateEmptyFiles(dir, names);
    const PathList list(dir, names);

    WindowMapWatch programMap;
    char* programArgv[] = {const_cast<char*>(TOLVANE_PROGRAM), nullptr};
    ChildProcess program(programArgv);
    const Window window = StartWindowed(program, programMap, "Tolvane");
    input_.MoveWindow(window, kWindowX, kWindowY);
    ChooseNumberMode(input_, window);

    WindowMapWatch sourceMap;
    char* sourceArgv[] = {const_cast<char*>(TOLVANE_DRAG_SOURCE),
                          const_cast<char*>("--files0-from"),
                          const_cast<char*>(list.path().c_str()), nullptr};
    ChildProcess source(sourceArgv, ChildProcess::Output::kDiscarded);
    const Window sourceWindow = StartWindowed(source, sourceMap, "drag-source");
    CarryDrag(input_, input_.Frame(sourceWindow), BareSurface(input_.Frame(window)));

    RenameWatch renames({dir / names.front(), dir / names.back()});
    const double cpuBefore = program.CpuMs();
    const Clock::time_point released = Clock::now();
    input_.ReleaseButton();
    // The drag source ends when the drop is over, also when it was refused.
    const auto seen = renames.WaitForAll(
        kRenameTimeout, [&program, &source] { return program.HasExited() || source.HasExited(); });
    const double cpuAfter = program.CpuMs();

    WaitUntil([&source] { return source.HasExited(); }, "the drag source ended", kStartTimeout);
    ExpectNames(dir, MakeNames(kLargestDrop, NumberedName));
    firstRenameMs_.push_back(MsBetween(released, seen[0]));
    return Timing{MsBetween(released, seen[1]), cpuAfter - cpuBefore};
}

// A fresh folder two levels below `root`, so that each side's own folder
// lies four levels below it.
class DeepRoot {
  public:
    explicit DeepRoot(const std::string& root) : top_(root), path_(top_ / "depth-2") {
        MakeDirectory(path_);
        path_ += "/depth-3";
        MakeDirectory(path_);
    }
    const std::string& path() const { return path_; }

  private:
    static void MakeDirectory(const std::string& path) {
        if (::mkdir(path.c_str(), 0755) != 0) {
            throw std::runtime_error("mkdir " + path + ": " + std::strerror(errno));
        }
    }

    BenchDir top_;
    std::string path_;
};

// Other programs' work lengthens the drags more than the loops, which keep
// one processor busy where a drag needs three programs: the figures need
// the load they were taken under beside them.
std::string LoadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

std::string Rounds(const std::vector<double>& values) {
    std::string text;
    for (const double value : values) {
        char number[32];
        std::snprintf(number, sizeof number, " %.1f", value);
        text += number;
    }
    return text;
}

int Run(int rounds, const std::string& root) {
    const DeepRoot deep(root);
    std::printf(
        "drag_bench: %d files per side, fresh each round, four levels below %s (%s), mode N "
        "with \"-\", the program and the drag source started afresh for each drag; %d rounds, "
        "medians; load average %s\n",
        kLargestDrop, root.c_str(), FilesystemName(root).c_str(), rounds, LoadAverage().c_str());
    std::fflush(stdout);
    Drags drags;
    const Comparison comparison = RunRotating(
        rounds, deep.path(), [&drags](const std::string& in) { return drags(in); },
        MakeNames(kLargestDrop, DroppedName), MakeNames(kLargestDrop, NumberedName),
        /*watchEnds=*/true);
    PrintComparison("real drag, button released -> last rename", comparison, "drag");
    std::printf(
        "    button released -> first rename (the drop's message, the list's transfer and "
        "decoding): median %.1f ms; rounds%s\n",
        Median(drags.firstRenameMs()), Rounds(drags.firstRenameMs()).c_str());
    // What is left once the list is in: the renames alone, set against the
    // floor they are made of.
    std::vector<double> renamesMs;
    for (std::size_t round = 0; round < comparison.engine.size(); ++round) {
        renamesMs.push_back(comparison.engine[round].wallMs - drags.firstRenameMs()[round]);
    }
    std::vector<double> floorMs;
    for (const Timing& timing : comparison.floor) floorMs.push_back(timing.wallMs);
    std::printf(
        "    first rename -> last rename: median %.1f ms, ratio to the floor %.2f; rounds%s\n",
        Median(renamesMs), Median(renamesMs) / Median(floorMs), Rounds(renamesMs).c_str());
    std::printf("    (the drag's cpu time is the program's own, all its threads)\n");
    std::fflush(stdout);
    return 0;
}

}  // namespace
}  // namespace tolvane::bench

int main(int argc, char** argv) {
    return tolvane::bench::RunBenchmark("drag_bench", argc, argv, tolvane::bench::Run, 5);
}
