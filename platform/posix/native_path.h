#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/text.h"

namespace tolvane {

// Linux file names are bytes. Valid UTF-8 becomes the matching UTF-16 text;
// each byte that is not part of valid UTF-8 becomes the lone surrogate
// U+DC80..U+DCFF, which ToNativePath turns back into that very byte. So any
// name survives the round trip exactly, whatever its encoding.
Text FromNativePath(std::string_view bytes);

// As above, appended to `out`.
void AppendFromNativePath(std::string_view bytes, Text& out);

// Nothing for a text with a NUL character (it would cut the path short) or a
// lone surrogate that does not stand for a byte.
std::optional<std::string> TryToNativePath(const Text& text);

// As above, into `out` (whose buffer is reused); false where the above gives
// nothing.
bool TryToNativePath(std::u16string_view text, std::string& out);

// As TryToNativePath, raising Error where it gives nothing.
std::string ToNativePath(const Text& text);

}  // namespace tolvane
