#pragma once

#include <functional>
#include <string>
#include <vector>

#include "bench/bench_dir.h"

namespace tolvane::bench {

// The largest drop there can be: its entry count is a 16-bit signed number.
inline constexpr int kLargestDrop = 32767;

// `number` left-padded with '0' to five digits, the width of kLargestDrop.
std::string FiveDigits(int number);

// The names of dropped files: a space and a non-ASCII letter, so that their
// uri-list carries percent-escapes that must be decoded, as names from a
// real folder do.
std::string DroppedName(int number);

// What mode Number with the separator "-" makes of DroppedName(number) in a
// drop of kLargestDrop entries.
std::string NumberedName(int number);

// make(1), make(2), ..., make(count).
std::vector<std::string> MakeNames(int count, const std::function<std::string(int)>& make);

// Each name's full path in `dir`.
std::vector<std::string> FullPaths(const BenchDir& dir, const std::vector<std::string>& names);

}  // namespace tolvane::bench
