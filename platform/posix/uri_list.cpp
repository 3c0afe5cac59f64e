#include "platform/posix/uri_list.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>

#include "engine/error.h"
#include "platform/list_index.h"
#include "platform/posix/native_path.h"

namespace tolvane {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Percent-escapes decoded into `bytes`, replacing what it held; a malformed
// escape is kept as typed.
void PercentDecode(std::string_view text, std::string& bytes) {
    bytes.resize(text.size());  // decoding never lengthens
    char* out = bytes.data();
    for (std::size_t i = 0; i < text.size();) {
        char c = text[i++];
        if (c == '%' && i + 1 < text.size()) {
            const int high = HexValue(text[i]);
            const int low = HexValue(text[i + 1]);
            if (high >= 0 && low >= 0) {
                c = static_cast<char>(high * 16 + low);
                i += 2;
            }
        }
        *out++ = c;
    }
    bytes.resize(static_cast<std::size_t>(out - bytes.data()));
}

// Schemes and host names are ASCII and case-insensitive; the user's locale
// has no say in them.
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool IsLocalHost(std::string_view host) {
    if (host.empty() || EqualsNoCase(host, "localhost")) return true;
    char name[HOST_NAME_MAX + 1] = {};
    return ::gethostname(name, sizeof name - 1) == 0 && EqualsNoCase(host, name);
}

// Some programs end the list with NUL bytes, as a C string ends: padding,
// not an entry.
std::string_view WithoutTrailingNuls(std::string_view list) {
    while (!list.empty() && list.back() == '\0') list.remove_suffix(1);
    return list;
}

// A line as the user is shown it: a NUL, which would cut the text short,
// is shown as its escape.
Text Shown(std::string_view line) {
    std::string shown;
    for (const char c : line) {
        if (c == '\0') {
            shown += "%00";
        } else {
            shown += c;
        }
    }
    return FromNativePath(shown);
}

std::string_view NextLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

// The path part of a "file:" URI on this machine, still percent-encoded, in
// `encoded`; false for any other URI.
bool FindLocalPath(std::string_view uri, std::string_view& encoded) {
    constexpr std::string_view kScheme = "file:";
    if (!StartsWithNoCase(uri, kScheme)) return false;
    uri.remove_prefix(kScheme.size());
    if (uri.substr(0, 2) == "//") {
        uri.remove_prefix(2);
        const std::size_t slash = uri.find('/');
        if (slash == std::string_view::npos || !IsLocalHost(uri.substr(0, slash))) return false;
        uri.remove_prefix(slash);
    }
    // A raw '?' or '#' is kept as part of the name: cutting there could name
    // another, existing file, while a name that does not exist just fails.
    if (uri.empty() || uri.front() != '/') return false;
    encoded = uri;
    return true;
}

// Whether the decoded path holds a NUL byte. A '%' never ends up inside an
// earlier escape (its two digits are hex), so every "%00" decodes to NUL.
bool DecodesToNul(std::string_view encoded) {
    return encoded.find('\0') != std::string_view::npos ||
           encoded.find("%00") != std::string_view::npos;
}

// The path's bytes into `path` (whose buffer is reused), without a folder's
// trailing '/', so that the folder itself is renamed.
void DecodePath(std::string_view encoded, std::string& path) {
    PercentDecode(encoded, path);
    while (path.size() > 1 && path.back() == '/') path.pop_back();
}

}  // namespace

UriFileList::UriFileList(std::string_view uriList, std::shared_ptr<const void> owner,
                         const NetworkPlaces* places)
    : list_(WithoutTrailingNuls(uriList)), owner_(std::move(owner)) {
    std::string_view rest = list_;
    std::string_view unserved;
    std::string_view unnamable;
    while (!rest.empty()) {
        const std::string_view line = NextLine(rest);
        if (line.empty() || line.front() == '#') continue;
        std::string_view encoded;
        if (FindLocalPath(line, encoded)) {
            if (unnamable.empty() && DecodesToNul(encoded)) unnamable = line;
            starts_.push_back(static_cast<std::size_t>(encoded.data() - list_.data()));
        } else if (std::optional<std::string> path =
                       places ? places->LocalPath(line) : std::nullopt) {
            starts_.push_back(kPlace + places_.size());
            places_.push_back(std::move(*path));
        } else if (unserved.empty()) {
            unserved = line;
        }
    }
    // Both are known before the first rename: refusing the whole drop then
    // leaves no entry renamed and the rest not. Leaving some entries out
    // would skip them silently and shift the numbering of the rest.
    if (!unnamable.empty()) {
        throw Error(EINVAL, u"Nothing was renamed: \u201C" + Shown(unnamable) +
                                u"\u201D names no file, as no name can hold a NUL character");
    }
    if (!unserved.empty()) {
        throw Error(EINVAL, u"Nothing was renamed: \u201C" + Shown(unserved) +
                                u"\u201D is not a file on this computer, and no folder here "
                                u"shows it. If it is on a network place, open that place in "
                                u"the file manager (or mount it) and drop the files again.");
    }
}

std::int32_t UriFileList::Count() const { return ListCount(starts_.size()); }

void UriFileList::ReadPath(std::int32_t index, std::string& path) const {
    DecodePathAt(ListPosition(index, starts_.size()), path);
}

void UriFileList::DecodePathAt(std::size_t position, std::string& path) const {
    if (starts_[position] >= kPlace) {
        path = places_[starts_[position] - kPlace];
        return;
    }
    std::string_view rest = list_.substr(starts_[position]);
    DecodePath(NextLine(rest), path);
}

std::u16string_view UriFileList::ReadEntry(std::int32_t index, Text& scratch) const {
    const std::size_t position = ListPosition(index, starts_.size());
    const std::size_t decoded = static_cast<std::size_t>(decoded_.Count());
    if (position < decodedFrom_ || position >= decodedFrom_ + decoded) DecodeAhead(position);
    return decoded_.ReadEntry(static_cast<std::int32_t>(position - decodedFrom_ + 1), scratch);
}

void UriFileList::DecodeAhead(std::size_t position) const {
    decoded_.Clear();
    decodedFrom_ = position;
    const std::size_t end = std::min(starts_.size(), position + kDecodedAhead);
    Text path;
    for (std::size_t next = position; next < end; ++next) {
        DecodePathAt(next, bytes_);
        path.clear();
        AppendFromNativePath(bytes_, path);
        decoded_.Add(path);
    }
}

Text UriFileList::Entry(std::int32_t index) const {
    Text scratch;
    return Text(ReadEntry(index, scratch));
}

std::vector<std::string> LocalPathsFromUriList(std::string_view uriList,
                                               const NetworkPlaces* places) {
    const UriFileList files(uriList, nullptr, places);
    std::vector<std::string> paths(static_cast<std::size_t>(files.Count()));
    for (std::size_t i = 0; i < paths.size(); ++i) {
        files.ReadPath(static_cast<std::int32_t>(i + 1), paths[i]);
    }
    return paths;
}

std::string UriListFromPaths(const std::vector<std::string>& paths) {
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string list;
    for (const std::string& path : paths) {
        list += "file://";
        for (const char c : path) {
            const auto byte = static_cast<unsigned char>(c);
            if (std::isalnum(byte) != 0 ||
                std::string_view("-._~/").find(c) != std::string_view::npos) {
                list += c;
            } else {
                list += {'%', kHex[byte >> 4], kHex[byte & 0x0F]};
            }
        }
        list += "\r\n";
    }
    return list;
}

}  // namespace tolvane
