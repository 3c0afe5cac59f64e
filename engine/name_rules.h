#pragma once

#include <string_view>

#include "engine/short_int.h"
#include "engine/text.h"

namespace tolvane {

// The name with the leftmost occurrence of `find` replaced by `replacement`,
// or unchanged when `find` does not occur. Case-sensitive, exact.
Text ReplaceFirst(const Text& find, const Text& name, const Text& replacement);

// The decimal digits of `number`, left-padded with '0' to the digit count of
// `count`; never cut.
Text PadNumber(Short number, Short count);

// The mode letters, held by the window and compared exactly.
inline constexpr char16_t kModeSearchAndReplace[] = u"S";
inline constexpr char16_t kModeInsert[] = u"I";
inline constexpr char16_t kModeAppend[] = u"A";
inline constexpr char16_t kModeNumber[] = u"N";

// What one entry's new full path is built from. The entry's parts are views:
// what they view must outlive the composition.
struct NameParts {
    std::u16string_view directory{};  // the entry's directory part, separator included
    std::u16string_view name{};       // the entry's file-name part, extension included
    Text find{};                      // the find box: find / insert / append / separator text
    Text replacement{};               // the replacement box (Search and Replace only)
    Short index = 1;                  // 1-based position in the drop
    Short count = 1;                  // number of entries in the drop
};

// The new full path for `mode`; raises Error for a letter that names no mode.
Text ComposeNewPath(const Text& mode, const NameParts& parts);

// The same into `path`, whose buffer is reused from one entry to the next.
void ComposeNewPath(const Text& mode, const NameParts& parts, Text& path);

}  // namespace tolvane
