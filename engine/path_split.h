#pragma once

#include <string_view>

#include "engine/text.h"

namespace tolvane {

// The character that ends a path's directory part on this platform. A
// separator inside a typed text points the new name into a subdirectory.
#ifdef _WIN32
inline constexpr char16_t kPathSeparator = u'\\';
#else
inline constexpr char16_t kPathSeparator = u'/';
#endif

// Everything after the last separator (the whole path when there is none).
Text NoPath(Text path, char16_t separator = kPathSeparator);

// Everything up to and including the last separator ("" when there is none).
Text JustPath(Text path, char16_t separator = kPathSeparator);

// JustPath and NoPath of `path` in one scan, as views into `path`: a batch
// splits every entry, and copying the parts out would be wasted work.
void SplitPath(std::u16string_view path, std::u16string_view& directory, std::u16string_view& name,
               char16_t separator = kPathSeparator);

}  // namespace tolvane
