#pragma once

#include <cstddef>
#include <cstdint>

namespace tolvane {

// A file list's size as DropFileList::Count gives it; raises OverflowError
// past the largest count.
std::int32_t ListCount(std::size_t size);

// Where entry `index` (counted from 1) lies in a list of `size` entries;
// raises Error (ERANGE) for an index outside it.
std::size_t ListPosition(std::int32_t index, std::size_t size);

}  // namespace tolvane
