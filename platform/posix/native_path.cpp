#include "platform/posix/native_path.h"

#include <cerrno>

#include "engine/error.h"
#include "engine/unicode.h"

namespace tolvane {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // byte b (0x80..0xFF) <-> U+DC00 + b

// Three bytes at most for each UTF-16 unit: four for a pair of two.
constexpr std::size_t kMostBytesPerUnit = 3;
constexpr std::size_t kRefused = static_cast<std::size_t>(-1);

// `text` as bytes in `narrow`, which has room for kMostBytesPerUnit bytes a
// unit; returns how many, or kRefused for a NUL or a lone surrogate that
// does not stand for a byte.
std::size_t NarrowInto(std::u16string_view text, char* narrow) {
    std::size_t written = 0;
    for (std::size_t read = 0; read < text.size();) {
        const char16_t c = text[read];
        if (c == 0) return kRefused;
        if (c < 0x80) {
            narrow[written++] = static_cast<char>(c);
            ++read;
            continue;
        }
        char32_t codePoint = c;
        std::size_t length = 1;
        if (IsHighSurrogate(c) && read + 1 < text.size() && IsLowSurrogate(text[read + 1])) {
            codePoint = CombineSurrogates(c, text[read + 1]);
            length = 2;
        } else if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) {
            narrow[written++] = static_cast<char>(c - kEscapeBase);
            ++read;
            continue;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            return kRefused;
        }
        written += EncodeUtf8(codePoint, narrow + written);
        read += length;
    }
    return written;
}

}  // namespace

Text FromNativePath(std::string_view bytes) {
    Text out;
    AppendFromNativePath(bytes, out);
    return out;
}

void AppendFromNativePath(std::string_view bytes, Text& out) {
    // A byte never gives more than one character (four give a pair of two).
    const std::size_t start = out.size();
    out.resize(start + bytes.size());
    char16_t* const wide = out.data() + start;
    std::size_t written = 0;
    for (std::size_t read = 0; read < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[read]);
        if (byte < 0x80) {
            wide[written++] = byte;
            ++read;
            continue;
        }
        char32_t codePoint = 0;
        std::size_t length = DecodeUtf8(bytes.substr(read), codePoint);
        if (length == 0) {
            codePoint = kEscapeBase + static_cast<unsigned char>(bytes[read]);
            length = 1;
        }
        written += EncodeUtf16(codePoint, wide + written);
        read += length;
    }
    out.resize(start + written);
}

std::optional<std::string> TryToNativePath(const Text& text) {
    std::string out;
    if (!TryToNativePath(text, out)) return std::nullopt;
    return out;
}

bool TryToNativePath(std::u16string_view text, std::string& out) {
    // A name, and most paths, go through a buffer on the stack and then into
    // `out` in one copy: growing `out` to the most the text could need would
    // fill it first, for every rename.
    constexpr std::size_t kOnStack = 256;
    if (text.size() <= kOnStack / kMostBytesPerUnit) {
        char bytes[kOnStack];
        const std::size_t written = NarrowInto(text, bytes);
        if (written == kRefused) return false;
        out.assign(bytes, written);
        return true;
    }
    out.resize(kMostBytesPerUnit * text.size());
    const std::size_t written = NarrowInto(text, out.data());
    if (written == kRefused) return false;
    out.resize(written);
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
