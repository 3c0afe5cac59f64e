#include "tools/drag_source/uri_list.h"

namespace tolvane {

namespace {

bool IsUnreserved(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

}  // namespace

QByteArray FileUri(const std::string& absolute_path) {
    static constexpr char hex[] = "0123456789ABCDEF";
    QByteArray uri("file://");
    for (const char c : absolute_path) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsUnreserved(byte) || byte == '/') {
            uri.append(c);
        } else {
            uri.append('%');
            uri.append(hex[byte >> 4]);
            uri.append(hex[byte & 0x0F]);
        }
    }
    return uri;
}

QByteArray UriList(const std::vector<std::string>& absolute_paths) {
    QByteArray list;
    for (const auto& path : absolute_paths) {
        list.append(FileUri(path));
        list.append("\r\n");
    }
    return list;
}

}  // namespace tolvane
