#pragma once

#include <algorithm>
#include <cerrno>
#include <string>
#include <utility>
#include <vector>

#include "engine/batch_watch.h"
#include "engine/drop_file_list.h"
#include "engine/error.h"
#include "engine/file_renamer.h"
#include "engine/path_split.h"
#include "platform/error_report.h"
#include "platform/form_events.h"

namespace tolvane::testing_fakes {

// One shared log, so tests can check how reads and renames interleave.
using EventLog = std::vector<std::string>;

inline std::string Narrow(const Text& text) { return ToDisplayUtf8(text); }

// Tests write paths with '/'. The fakes hand them to the engine with this
// platform's separator, and log them with '/' again, so one test serves
// every platform.
inline Text Native(Text path) {
    std::replace(path.begin(), path.end(), u'/', kPathSeparator);
    return path;
}

inline std::vector<Text> Native(std::vector<Text> paths) {
    for (Text& path : paths) path = Native(std::move(path));
    return paths;
}

inline std::string Logged(Text path) {
    std::replace(path.begin(), path.end(), kPathSeparator, u'/');
    return Narrow(path);
}

// A drop list of `count` entries named "/d/<n>.txt", or given paths; logs
// every read.
class RecordingFileList : public DropFileList {
  public:
    RecordingFileList(EventLog& log, std::vector<Text> paths)
        : log_(log),
          paths_(Native(std::move(paths))),
          count_(static_cast<std::int32_t>(paths_.size())) {}
    RecordingFileList(EventLog& log, std::int32_t count) : log_(log), count_(count) {}

    std::int32_t Count() const override {
        log_.push_back("count");
        return count_;
    }
    Text Entry(std::int32_t index) const override {
        log_.push_back("read " + std::to_string(index));
        if (!paths_.empty()) return paths_.at(static_cast<std::size_t>(index - 1));
        const std::string name = "/d/" + std::to_string(index) + ".txt";
        return Native(Text(name.begin(), name.end()));
    }

  private:
    EventLog& log_;
    std::vector<Text> paths_;
    std::int32_t count_;
};

// Records every rename request; fails the one numbered `failAt` (1-based).
class RecordingRenamer : public FileRenamer {
  public:
    explicit RecordingRenamer(EventLog& log, int failAt = 0) : log_(log), failAt_(failAt) {}

    void Rename(std::u16string_view oldPath, std::u16string_view newPath) override {
        ++calls_;
        log_.push_back("rename " + Logged(Text(oldPath)) + " -> " + Logged(Text(newPath)));
        if (calls_ == failAt_) {
            throw RenameError(EEXIST, u"File exists", Text(oldPath), Text(newPath));
        }
    }
    void BeginBatch() override { ++batchesBegun; }
    void EndBatch() noexcept override { ++batchesEnded; }
    int calls() const { return calls_; }

    int batchesBegun = 0;
    int batchesEnded = 0;

  private:
    EventLog& log_;
    int failAt_;
    int calls_ = 0;
};

// A user who asks to stop the batch while entry `stopAt` is renamed, or
// never; counts how often it was asked, and how batches began and ended.
class StoppingWatch : public BatchWatch {
  public:
    explicit StoppingWatch(int stopAt = 0) : stopAt(stopAt) {}

    void BeginBatch(Short count) override { begun.push_back(count); }
    bool StopAfter(Short done) override {
        ++asked;
        return done == stopAt;
    }
    void EndBatch() noexcept override { ++ended; }

    int stopAt;
    std::vector<Short> begun;
    int asked = 0;
    int ended = 0;
};

// Keeps every error shown to the user.
class RecordingReport : public ErrorReport {
  public:
    void Show(const Error& error) override { shown.push_back(error); }
    std::vector<Error> shown;
};

// A form that records the events a front end delivers; Click throws while
// `failClicks`. Front ends' tests say how they show the busy cursor.
class RecordingForm : public FormEvents {
  public:
    struct Drop {
        std::string target;
        std::vector<Text> files;
        DropArgs args;
        bool busyCursor;
    };

    void Load() override { ++loads; }
    void Click(std::string_view item) override {
        clicks.emplace_back(item);
        if (failClicks) throw Error(42, u"Click failed");
    }
    void DragDrop(std::string_view target, DropData& data, DropArgs& args) override {
        std::vector<Text> files;
        for (std::int32_t i = 1; i <= data.Files().Count(); ++i) {
            files.push_back(data.Files().Entry(i));
        }
        drops.push_back({std::string(target), files, args, BusyCursorShown()});
    }

    int loads = 0;
    bool failClicks = false;
    std::vector<std::string> clicks;
    std::vector<Drop> drops;

  protected:
    virtual bool BusyCursorShown() const { return false; }
};

}  // namespace tolvane::testing_fakes
