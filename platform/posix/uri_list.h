#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// The local file paths named by a text/uri-list (RFC 2483), in list order, as
// the exact bytes of the names: percent-escapes are decoded byte by byte, so a
// name that is not UTF-8 arrives unchanged. Comment and blank lines are left
// out, and so are NUL bytes at the end of the list. A list without any local
// file ("file:" with no host, "localhost" or this machine's name, in any
// letter case) gives no paths. A list that mixes local files with other URIs,
// or names a file with a NUL in it (raw or as "%00"), raises Error: no entry
// is skipped, and none is renamed when another cannot be. A folder's trailing
// '/' is dropped so that the folder itself is renamed.
std::vector<std::string> LocalPathsFromUriList(std::string_view uriList);

// The text/uri-list a file manager sends for the given raw paths: "file://"
// and the path with every byte outside the unreserved set and '/'
// percent-encoded, one line per path, each ended by CRLF.
std::string UriListFromPaths(const std::vector<std::string>& paths);

}  // namespace tolvane
