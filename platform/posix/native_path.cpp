#include "platform/posix/native_path.h"

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "engine/error.h"
#include "engine/unicode.h"

namespace tolvane {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // byte b (0x80..0xFF) <-> U+DC00 + b

}  // namespace

Text FromNativePath(std::string_view bytes) {
    Text out;
    AppendFromNativePath(bytes, out);
    return out;
}

void AppendFromNativePath(std::string_view bytes, Text& out) {
    out.reserve(out.size() + bytes.size());
    while (!bytes.empty()) {
        // Most names are ASCII: a run of it is widened in one loop.
        std::size_t ascii = 0;
        while (ascii < bytes.size() && static_cast<unsigned char>(bytes[ascii]) < 0x80) ++ascii;
        const std::size_t start = out.size();
        out.resize(start + ascii);
        char16_t* wide = out.data() + start;
        for (std::size_t i = 0; i < ascii; ++i) wide[i] = static_cast<unsigned char>(bytes[i]);
        bytes.remove_prefix(ascii);
        if (bytes.empty()) return;
        char32_t codePoint = 0;
        std::size_t length = DecodeUtf8(bytes, codePoint);
        if (length == 0) {
            codePoint = kEscapeBase + static_cast<unsigned char>(bytes[0]);
            length = 1;
        }
        AppendUtf16(out, codePoint);
        bytes.remove_prefix(length);
    }
}

std::optional<std::string> TryToNativePath(const Text& text) {
    std::string out;
    if (!TryToNativePath(text, out)) return std::nullopt;
    return out;
}

namespace {

// Narrows the text's leading ASCII characters other than NUL, the whole of
// most names, a byte for each into `out`, which is sized for the whole
// text; returns how many.
std::size_t NarrowAsciiPrefix(std::u16string_view text, std::string& out) {
    const std::size_t size = text.size();
    out.resize(size);
    const char16_t* wide = text.data();
    char* narrow = out.data();
    std::size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        // Four characters at a time, as the 16-bit lanes of one word.
        constexpr std::uint64_t kAboveAscii = 0xFF80FF80FF80FF80;
        constexpr std::uint64_t kLaneOnes = 0x0001000100010001;
        constexpr std::uint64_t kLaneTops = 0x8000800080008000;
        for (; i + 4 <= size; i += 4) {
            std::uint64_t lanes = 0;
            std::memcpy(&lanes, wide + i, sizeof lanes);
            const bool anyNul = ((lanes - kLaneOnes) & ~lanes & kLaneTops) != 0;
            if ((lanes & kAboveAscii) != 0 || anyNul) break;
            const std::uint64_t pairs = lanes | (lanes >> 8);
            const auto bytes =
                static_cast<std::uint32_t>((pairs & 0xFFFF) | ((pairs >> 16) & 0xFFFF0000));
            std::memcpy(narrow + i, &bytes, sizeof bytes);
        }
    }
    for (; i < size; ++i) {
        const unsigned c = wide[i];
        if (c - 1 >= 0x7F) break;  // NUL wraps around
        narrow[i] = static_cast<char>(c);
    }
    return i;
}

}  // namespace

bool TryToNativePath(std::u16string_view text, std::string& out) {
    const std::size_t ascii = NarrowAsciiPrefix(text, out);
    if (ascii == text.size()) return true;
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
