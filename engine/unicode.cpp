#include "engine/unicode.h"

namespace tolvane {

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::size_t DecodeUtf8(std::string_view bytes, char32_t& codePoint) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (!IsContinuation(byte)) return 0;
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < minimum || surrogate || codePoint > 0x10FFFF) return 0;
    return length;
}

std::size_t EncodeUtf8(char32_t c, char* out) {
    const auto byte = [](char32_t value) { return static_cast<char>(value); };
    if (c < 0x80) {
        out[0] = byte(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = byte(0xC0 | (c >> 6));
        out[1] = byte(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = byte(0xE0 | (c >> 12));
        out[1] = byte(0x80 | ((c >> 6) & 0x3F));
        out[2] = byte(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = byte(0xF0 | (c >> 18));
    out[1] = byte(0x80 | ((c >> 12) & 0x3F));
    out[2] = byte(0x80 | ((c >> 6) & 0x3F));
    out[3] = byte(0x80 | (c & 0x3F));
    return 4;
}

std::size_t EncodeUtf16(char32_t c, char16_t* out) {
    if (c < 0x10000) {
        out[0] = static_cast<char16_t>(c);
        return 1;
    }
    c -= 0x10000;
    out[0] = static_cast<char16_t>(0xD800 + (c >> 10));
    out[1] = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    return 2;
}

void AppendUtf8(std::string& out, char32_t c) {
    char bytes[4];
    out.append(bytes, EncodeUtf8(c, bytes));
}

void AppendUtf16(Text& out, char32_t c) {
    char16_t units[2];
    out.append(units, EncodeUtf16(c, units));
}

Text FromUtf8(std::string_view bytes) {
    Text out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        char32_t codePoint = 0;
        std::size_t length = DecodeUtf8(bytes, codePoint);
        if (length == 0) codePoint = 0xFFFD, length = 1;
        AppendUtf16(out, codePoint);
        bytes.remove_prefix(length);
    }
    return out;
}

}  // namespace tolvane
