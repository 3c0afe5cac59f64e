#pragma once

#include <string>

#include "engine/text.h"

namespace tolvane {

// Windows' wide strings are UTF-16 like Text, so these copy code units
// unchanged, whatever they hold.
inline std::wstring ToWide(const Text& text) { return std::wstring(text.begin(), text.end()); }

inline Text FromWide(const wchar_t* text, std::size_t length) { return Text(text, text + length); }

inline Text FromWide(const std::wstring& text) { return FromWide(text.data(), text.size()); }

}  // namespace tolvane
