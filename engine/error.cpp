#include "engine/error.h"

#include <cerrno>
#include <string>

#include "engine/unicode.h"

namespace tolvane {

namespace {

Text Decimal(std::int32_t number) {
    const std::string digits = std::to_string(number);
    return Text(digits.begin(), digits.end());
}

}  // namespace

std::string ToDisplayUtf8(const Text& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            AppendUtf8(out, CombineSurrogates(c, text[i + 1]));
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

Error::Error(std::int32_t number, Text description)
    : std::runtime_error(ToDisplayUtf8(description)),
      number_(number),
      description_(std::move(description)) {}

OverflowError::OverflowError()
    : Error(EOVERFLOW,
            u"Overflow: more than 32,767 entries were dropped, or a name or text is longer than "
            u"32,767 characters") {}

RenameError::RenameError(std::int32_t number, const Text& reason, Text oldPath, Text newPath)
    : Error(number, u"Cannot rename \u201C" + oldPath + u"\u201D to \u201C" + newPath +
                        u"\u201D: " + reason),
      oldPath_(std::move(oldPath)),
      newPath_(std::move(newPath)) {}

BatchStopped::BatchStopped(std::int32_t done, std::int32_t count, const Text& lastOld,
                           const Text& lastNew)
    : Error(ECANCELED, u"Stopped after " + Decimal(done) + u" of " + Decimal(count) +
                           u" entries. The last one renamed: \u201C" + lastOld +
                           u"\u201D to \u201C" + lastNew + u"\u201D; the rest are untouched.") {}

}  // namespace tolvane
