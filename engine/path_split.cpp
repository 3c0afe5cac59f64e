#include "engine/path_split.h"

#include "engine/short_int.h"

namespace tolvane {

namespace {

// 1-based position of the last separator, 0 when there is none. The scan
// starts at the length as a 16-bit position, so a path longer than 32767
// characters raises OverflowError before anything is looked at.
Short LastSeparatorPosition(std::u16string_view path, char16_t separator) {
    for (Short n = ToShort(static_cast<std::int64_t>(path.size())); n >= 1;
         n = CheckedSubtract(n, 1)) {
        if (path[static_cast<std::size_t>(n - 1)] == separator) return n;
    }
    return 0;
}

}  // namespace

Text NoPath(Text path, char16_t separator) {
    if (path.empty()) return path;
    const Short n = LastSeparatorPosition(path, separator);
    return path.substr(static_cast<std::size_t>(n));
}

Text JustPath(Text path, char16_t separator) {
    const Short n = LastSeparatorPosition(path, separator);
    return path.substr(0, static_cast<std::size_t>(n));
}

void SplitPath(std::u16string_view path, std::u16string_view& directory, std::u16string_view& name,
               char16_t separator) {
    const auto n = static_cast<std::size_t>(LastSeparatorPosition(path, separator));
    directory = path.substr(0, n);
    name = path.substr(n);
}

}  // namespace tolvane
