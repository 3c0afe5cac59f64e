#include "engine/name_rules.h"

#include <array>
#include <cerrno>
#include <string>
#include <vector>

namespace tolvane {

namespace {

// Knuth-Morris-Pratt: the leftmost occurrence of `pattern` in `text` in
// linear time, so a long name with a long near-miss find text stays fast.
std::size_t FindLeftmost(const Text& pattern, std::u16string_view text) {
    if (pattern.empty()) return 0;
    // The failure table, on the stack for find texts of usual length. Left
    // unset: every place is written before it is read, and this runs once
    // per renamed entry.
    std::array<std::size_t, 64> shortTable;
    std::vector<std::size_t> longTable;
    std::size_t* fallback = shortTable.data();
    if (pattern.size() > shortTable.size()) {
        longTable.resize(pattern.size());
        fallback = longTable.data();
    }
    fallback[0] = 0;
    for (std::size_t i = 1, k = 0; i < pattern.size(); ++i) {
        while (k > 0 && pattern[i] != pattern[k]) k = fallback[k - 1];
        if (pattern[i] == pattern[k]) ++k;
        fallback[i] = k;
    }
    for (std::size_t i = 0, k = 0; i < text.size(); ++i) {
        while (k > 0 && text[i] != pattern[k]) k = fallback[k - 1];
        if (text[i] == pattern[k]) ++k;
        if (k == pattern.size()) return i + 1 - k;
    }
    return Text::npos;
}

// `value` in decimal, '-' first if negative, written backwards so that it
// ends just before `end`; returns where it begins.
char16_t* WriteDecimal(Short value, char16_t* end) {
    const bool negative = value < 0;
    int rest = negative ? -int{value} : int{value};
    do {
        *--end = static_cast<char16_t>(u'0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (negative) *--end = u'-';
    return end;
}

// PadNumber's digits appended to `out`, with no text of their own.
void AppendPadded(Text& out, Short number, Short count) {
    constexpr std::size_t kRoom = 8;  // "-32768" and more
    char16_t numberDigits[kRoom];
    char16_t countDigits[kRoom];
    const char16_t* digits = WriteDecimal(number, numberDigits + kRoom);
    const auto size = static_cast<std::size_t>(numberDigits + kRoom - digits);
    const auto width =
        static_cast<std::size_t>(countDigits + kRoom - WriteDecimal(count, countDigits + kRoom));
    if (size < width) out.append(width - size, u'0');
    out.append(digits, size);
}

// Where ReplaceFirst replaces: the leftmost occurrence of `find`, or npos.
std::size_t ReplacedPosition(const Text& find, std::u16string_view name) {
    // The last position at which the find text could start, as a 16-bit
    // position: out of range raises OverflowError even when nothing matches.
    const Short lastStart = ToShort(static_cast<std::int64_t>(name.size()) -
                                    static_cast<std::int64_t>(find.size()) + 1);
    if (lastStart < 1) return Text::npos;
    return FindLeftmost(find, name);
}

void AppendReplacedFirst(Text& out, const Text& find, std::u16string_view name,
                         const Text& replacement) {
    const std::size_t at = ReplacedPosition(find, name);
    if (at == Text::npos) {
        out += name;
        return;
    }
    out.append(name.substr(0, at)).append(replacement).append(name.substr(at + find.size()));
}

}  // namespace

Text ReplaceFirst(const Text& find, const Text& name, const Text& replacement) {
    Text replaced;
    AppendReplacedFirst(replaced, find, name, replacement);
    return replaced;
}

Text PadNumber(Short number, Short count) {
    Text digits;
    AppendPadded(digits, number, count);
    return digits;
}

Text ComposeNewPath(const Text& mode, const NameParts& parts) {
    Text path;
    ComposeNewPath(mode, parts, path);
    return path;
}

void ComposeNewPath(const Text& mode, const NameParts& p, Text& path) {
    path.assign(p.directory);
    if (mode == kModeSearchAndReplace) {
        AppendReplacedFirst(path, p.find, p.name, p.replacement);
    } else if (mode == kModeInsert) {
        path.append(p.find).append(p.name);
    } else if (mode == kModeAppend) {
        path.append(p.name).append(p.find);
    } else if (mode == kModeNumber) {
        AppendPadded(path, p.index, p.count);
        path.append(p.find).append(p.name);
    } else {
        throw Error(EINVAL, u"Unknown renaming mode \u201C" + mode + u"\u201D");
    }
}

}  // namespace tolvane
