#include "platform/posix/native_path.h"

#include <cerrno>

#include "engine/error.h"
#include "engine/unicode.h"

namespace tolvane {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // byte b (0x80..0xFF) <-> U+DC00 + b

}  // namespace

Text FromNativePath(std::string_view bytes) {
    Text out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        if (static_cast<unsigned char>(bytes[0]) < 0x80) {  // most names are ASCII
            out += static_cast<char16_t>(bytes[0]);
            bytes.remove_prefix(1);
            continue;
        }
        char32_t codePoint = 0;
        std::size_t length = DecodeUtf8(bytes, codePoint);
        if (length == 0) {
            codePoint = kEscapeBase + static_cast<unsigned char>(bytes[0]);
            length = 1;
        }
        AppendUtf16(out, codePoint);
        bytes.remove_prefix(length);
    }
    return out;
}

std::optional<std::string> TryToNativePath(const Text& text) {
    std::string out;
    if (!TryToNativePath(text, out)) return std::nullopt;
    return out;
}

bool TryToNativePath(const Text& text, std::string& out) {
    // Most names are ASCII: copied a character to a byte until the first
    // that is not.
    out.resize(text.size());
    std::size_t ascii = 0;
    while (ascii < text.size() && text[ascii] > 0 && text[ascii] < 0x80) {
        out[ascii] = static_cast<char>(text[ascii]);
        ++ascii;
    }
    out.resize(ascii);
    for (std::size_t i = ascii; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c > 0 && c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        if (c == 0) return false;
        const bool high = IsHighSurrogate(c);
        const bool low = IsLowSurrogate(c);
        if (high && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            AppendUtf8(out, CombineSurrogates(c, text[i + 1]));
            ++i;
        } else if (low && c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) {
            out += static_cast<char>(c - kEscapeBase);
        } else if (high || low) {
            return false;
        } else {
            AppendUtf8(out, c);
        }
    }
    return true;
}

std::string ToNativePath(const Text& text) {
    std::optional<std::string> bytes = TryToNativePath(text);
    if (!bytes) {
        throw Error(EILSEQ, u"The name \u201C" + text +
                                u"\u201D holds a character that no file name can hold");
    }
    return std::move(*bytes);
}

}  // namespace tolvane
