#pragma once

#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <vector>

#include "platform/form_events.h"
#include "platform/text_file_list.h"

namespace tolvane {

// The paths of one WM_DROPFILES drop, in drop order, read from its HDROP in
// one pass: asking the system for each entry by number would walk the list
// from its start every time.
std::vector<Text> ReadDroppedPaths(HDROP drop);

// The files of one drop.
class HdropFileList : public TextFileList {
  public:
    explicit HdropFileList(HDROP drop) : TextFileList(ReadDroppedPaths(drop)) {}

    // Also raises Error for a path holding U+FFFD: the system put that in
    // place of a character the name really has, so the path names no file
    // exactly and must not be renamed.
    Text Entry(std::int32_t index) const override;
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
