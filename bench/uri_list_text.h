#pragma once

#include <string>
#include <vector>

namespace tolvane::bench {

// A text/uri-list as a file manager sends it: one file:// URI per path, every
// byte outside the unreserved set percent-encoded, lines ended by CRLF.
std::string UriListFor(const std::vector<std::string>& paths);

}  // namespace tolvane::bench
