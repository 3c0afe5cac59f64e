#include "bench/uri_list_text.h"

#include <cctype>

namespace tolvane::bench {

namespace {

bool KeepsAsIs(unsigned char byte) {
    return std::isalnum(byte) != 0 || byte == '-' || byte == '.' || byte == '_' || byte == '~' ||
           byte == '/';
}

void AppendEncoded(std::string& out, const std::string& path) {
    constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (KeepsAsIs(byte)) {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
    }
}

}  // namespace

std::string UriListFor(const std::vector<std::string>& paths) {
    std::string list;
    for (const auto& path : paths) {
        list += "file://";
        AppendEncoded(list, path);
        list += "\r\n";
    }
    return list;
}

}  // namespace tolvane::bench
