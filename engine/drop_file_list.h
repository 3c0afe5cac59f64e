#pragma once

#include <cstdint>
#include <string_view>

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
    // Entry(index), valid until the next read: lists that hold their entries
    // give a view of them, others fill `scratch`, a buffer that a batch reuses
    // from one entry to the next.
    virtual std::u16string_view ReadEntry(std::int32_t index, Text& scratch) const {
        scratch = Entry(index);
        return scratch;
    }
};

}  // namespace tolvane
