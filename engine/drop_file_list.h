#pragma once

#include <cstdint>

#include "engine/text.h"

namespace tolvane {

// The ordered full paths of the entries in one drop. Owned by the platform
// and valid only while the drop is being handled.
class DropFileList {
  public:
    virtual ~DropFileList() = default;

    virtual std::int32_t Count() const = 0;
    // `index` runs from 1 to Count(); raises Error outside that range.
    virtual Text Entry(std::int32_t index) const = 0;
    // Entry(index) into `path`, whose buffer a batch reuses from one entry to
    // the next; lists that hold their entries copy them without allocating.
    virtual void ReadEntry(std::int32_t index, Text& path) const { path = Entry(index); }
};

}  // namespace tolvane
