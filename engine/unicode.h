#pragma once

#include <string>
#include <string_view>

#include "engine/text.h"

namespace tolvane {

inline bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

inline char32_t CombineSurrogates(char16_t high, char16_t low) {
    return 0x10000 + ((char32_t{high} - 0xD800) << 10) + (char32_t{low} - 0xDC00);
}

// The code point's encoding written at `out`, which has room for 4 bytes or
// 2 units; returns how many it took.
std::size_t EncodeUtf8(char32_t codePoint, char* out);
std::size_t EncodeUtf16(char32_t codePoint, char16_t* out);

void AppendUtf8(std::string& out, char32_t codePoint);
void AppendUtf16(Text& out, char32_t codePoint);

// Length of the valid UTF-8 sequence at the start of `bytes`, which must not
// be empty, and its code point; 0 when it is not one (overlong forms,
// surrogates, code points beyond U+10FFFF and cut-off sequences).
std::size_t DecodeUtf8(std::string_view bytes, char32_t& codePoint);

// UTF-8 text for the user, each byte outside valid UTF-8 shown as U+FFFD.
Text FromUtf8(std::string_view bytes);

}  // namespace tolvane
