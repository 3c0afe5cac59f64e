#include "bench/file_names.h"

#include <cstdio>

namespace tolvane::bench {

std::string FiveDigits(int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%05d", number);
    return digits;
}

std::string DroppedName(int number) {
    return std::string("f ").append(FiveDigits(number)).append(" \xC3\xA4.dat");
}

std::string NumberedName(int number) { return FiveDigits(number) + "-" + DroppedName(number); }

std::vector<std::string> MakeNames(int count, const std::function<std::string(int)>& make) {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    for (int number = 1; number <= count; ++number) names.push_back(make(number));
    return names;
}

std::vector<std::string> FullPaths(const BenchDir& dir, const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const auto& name : names) paths.push_back(dir / name);
    return paths;
}

}  // namespace tolvane::bench
