#pragma once

#include <string>

#include "engine/text.h"

namespace tolvane {

inline bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

inline char32_t CombineSurrogates(char16_t high, char16_t low) {
    return 0x10000 + ((char32_t{high} - 0xD800) << 10) + (char32_t{low} - 0xDC00);
}

void AppendUtf8(std::string& out, char32_t codePoint);
void AppendUtf16(Text& out, char32_t codePoint);

}  // namespace tolvane
