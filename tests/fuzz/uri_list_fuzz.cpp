// Any bytes as a dropped text/uri-list.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/error.h"
#include "platform/posix/native_path.h"
#include "platform/posix/uri_list.h"
#include "tests/fuzz/fuzz_check.h"

namespace tolvane {
namespace {

using fuzzing::Require;

// Every path handed on names its file exactly: it survives the way through
// Text back to the same bytes. Otherwise the whole list is refused.
void CheckDecoding(std::string_view list) {
    std::vector<std::string> paths;
    try {
        paths = LocalPathsFromUriList(list);
    } catch (const Error&) {
        return;
    }
    for (const std::string& path : paths) {
        const std::optional<std::string> bytes = TryToNativePath(FromNativePath(path));
        Require(bytes && *bytes == path, "a decoded path comes back from Text as its bytes");
    }
}

// The input cut at its NULs into names, each made an absolute path without
// a trailing '/', as a file manager would list them.
std::vector<std::string> PathsFrom(std::string_view bytes) {
    std::vector<std::string> paths;
    for (;;) {
        const std::size_t end = bytes.find('\0');
        std::string path = "/" + std::string(bytes.substr(0, end));
        while (path.size() > 1 && path.back() == '/') path.pop_back();
        paths.push_back(std::move(path));
        if (end == std::string_view::npos) return paths;
        bytes.remove_prefix(end + 1);
    }
}

void CheckRoundTrip(std::string_view bytes) {
    const std::vector<std::string> paths = PathsFrom(bytes);
    Require(LocalPathsFromUriList(UriListFromPaths(paths)) == paths,
            "decoding what the encoder wrote gives the same paths");
}

}  // namespace
}  // namespace tolvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tolvane::CheckDecoding(bytes);
    tolvane::CheckRoundTrip(bytes);
    return 0;
}
