#include "platform/posix/native_path.h"

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/error.h"
#include "engine/unicode.h"

namespace tolvane {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // byte b (0x80..0xFF) <-> U+DC00 + b

// Most names are ASCII: runs of it are converted 16 bytes at a time where
// the processor has the instructions for it (text to bytes a word at a time
// elsewhere), and a character that is not ASCII only interrupts the run.

// The leading bytes of `narrow` below 0x80, at most `count` of them, widened
// into `wide`; returns how many.
std::size_t WidenAsciiRun(const char* narrow, std::size_t count, char16_t* wide) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= count; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(narrow + i));
        if (_mm_movemask_epi8(bytes) != 0) break;  // a byte with its top bit set
        _mm_storeu_si128(reinterpret_cast<__m128i*>(wide + i), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(wide + i + 8), _mm_unpackhi_epi8(bytes, zero));
    }
#endif
    for (; i < count && static_cast<unsigned char>(narrow[i]) < 0x80; ++i) {
        wide[i] = static_cast<unsigned char>(narrow[i]);
    }
    return i;
}

// The leading characters of `wide` that are ASCII other than NUL, at most
// `count` of them, narrowed into `narrow`; returns how many.
std::size_t NarrowAsciiRun(const char16_t* wide, std::size_t count, char* narrow) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i aboveAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
    for (; i + 8 <= count; i += 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(wide + i));
        const __m128i outside =
            _mm_or_si128(_mm_and_si128(chars, aboveAscii), _mm_cmpeq_epi16(chars, zero));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(outside, zero)) != 0xFFFF) break;
        _mm_storel_epi64(reinterpret_cast<__m128i*>(narrow + i), _mm_packus_epi16(chars, chars));
    }
#else
    if constexpr (std::endian::native == std::endian::little) {
        // Four characters at a time, as the 16-bit lanes of one word.
        constexpr std::uint64_t kAboveAscii = 0xFF80FF80FF80FF80;
        constexpr std::uint64_t kLaneOnes = 0x0001000100010001;
        constexpr std::uint64_t kLaneTops = 0x8000800080008000;
        for (; i + 4 <= count; i += 4) {
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
#endif
    for (; i < count; ++i) {
        const unsigned c = wide[i];
        if (c - 1 >= 0x7F) break;  // NUL wraps around
        narrow[i] = static_cast<char>(c);
    }
    return i;
}

// Three bytes at most for each UTF-16 unit: four for a pair of two.
constexpr std::size_t kMostBytesPerUnit = 3;
constexpr std::size_t kRefused = static_cast<std::size_t>(-1);

// `text` as bytes in `narrow`, which has room for kMostBytesPerUnit bytes a
// unit; returns how many, or kRefused for a NUL or a lone surrogate that
// does not stand for a byte.
std::size_t NarrowInto(std::u16string_view text, char* narrow) {
    std::size_t read = 0;
    std::size_t written = 0;
    for (;;) {
        const std::size_t ascii =
            NarrowAsciiRun(text.data() + read, text.size() - read, narrow + written);
        read += ascii;
        written += ascii;
        if (read == text.size()) return written;
        const char16_t c = text[read];
        if (c == 0) return kRefused;
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
    std::size_t read = 0;
    std::size_t written = 0;
    for (;;) {
        const std::size_t ascii =
            WidenAsciiRun(bytes.data() + read, bytes.size() - read, wide + written);
        read += ascii;
        written += ascii;
        if (read == bytes.size()) break;
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
