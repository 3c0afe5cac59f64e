#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/text.h"

namespace tolvane {

// Windows' numbers for the two reasons a dropped list is refused:
// ERROR_INVALID_DATA and ERROR_NO_UNICODE_TRANSLATION.
constexpr std::int32_t kDamagedDropList = 13;
constexpr std::int32_t kInexactDroppedName = 1113;

// The paths of a shell file drop, read from the drop's memory as it lies:
// a DROPFILES header (the list's offset at byte 0, the wide flag at byte 16)
// and then NUL-ended paths, ended by an empty one, in UTF-16 or, from older
// programs, in their code page. Standard C++, so that it runs anywhere.
//
// Raises Error when the list runs off the memory. Refuses the whole list,
// before anything is renamed, when a path is not known exactly: one holding
// U+FFFD, which a sender puts in place of a character it could not convert,
// or a narrow one beyond ASCII, which the code page may have turned into a
// look-alike.
std::vector<Text> PathsFromDropFiles(std::string_view memory);

}  // namespace tolvane
