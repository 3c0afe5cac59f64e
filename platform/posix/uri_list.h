#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// The local file paths named by a text/uri-list (RFC 2483), in list order, as
// the exact bytes of the names: percent-escapes are decoded byte by byte, so a
// name that is not UTF-8 arrives unchanged. Comment lines, blank lines and
// URIs that do not name a local file ("file:" with no host, "localhost" or
// this machine's name) are left out. A folder's trailing '/' is dropped so the
// folder itself is renamed.
std::vector<std::string> LocalPathsFromUriList(std::string_view uriList);

}  // namespace tolvane
