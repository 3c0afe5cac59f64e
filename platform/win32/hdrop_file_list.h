#pragma once

#include <windows.h>
// after windows.h
#include <shellapi.h>

#include "platform/form_events.h"

namespace tolvane {

// The files of one WM_DROPFILES drop, read from its HDROP. The handle
// belongs to the drop; see DropHandle for its release.
class HdropFileList : public DropFileList {
  public:
    explicit HdropFileList(HDROP drop) : drop_(drop) {}

    std::int32_t Count() const override;
    // Raises Error for an index outside 1..Count(), and for a path holding
    // U+FFFD: the system put that in place of a character the name really
    // has, so the path names no file exactly and must not be renamed.
    Text Entry(std::int32_t index) const override;

  private:
    HDROP drop_;
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
