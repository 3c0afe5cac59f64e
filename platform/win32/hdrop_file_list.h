#pragma once

#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <memory>
#include <vector>

#include "platform/form_events.h"
#include "platform/lazy_file_list.h"
#include "platform/text_file_list.h"

namespace tolvane {

// The paths of one WM_DROPFILES drop, in drop order, read from its HDROP in
// one pass: asking the system for each entry by number would walk the list
// from its start every time. Raises Error as PathsFromDropFiles does.
std::vector<Text> ReadDroppedPaths(HDROP drop);

// The files of one drop, read when first asked for; `drop` must stay valid
// as long as this.
class HdropFileList : public LazyFileList {
  public:
    explicit HdropFileList(HDROP drop)
        : LazyFileList([drop] { return std::make_unique<TextFileList>(ReadDroppedPaths(drop)); }) {}
};

class HdropDropData : public DropData {
  public:
    explicit HdropDropData(HDROP drop) : files_(drop) {}
    const DropFileList& Files() const override { return files_; }

  private:
    HdropFileList files_;
};

// Owns an HDROP and ends the drop with DragFinish however handling ends.
class DropHandle {
  public:
    explicit DropHandle(HDROP drop) : drop_(drop) {}
    DropHandle(const DropHandle&) = delete;
    DropHandle& operator=(const DropHandle&) = delete;
    ~DropHandle() { DragFinish(drop_); }

    HDROP get() const { return drop_; }

  private:
    HDROP drop_;
};

}  // namespace tolvane
