#pragma once

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

// JustPath and NoPath of `path` in one scan, written into `directory` and
// `name`, whose buffers are reused from one entry of a batch to the next.
void SplitPath(const Text& path, Text& directory, Text& name, char16_t separator = kPathSeparator);

}  // namespace tolvane
