#pragma once

#include <QByteArray>
#include <string>
#include <vector>

namespace tolvane {

// Builds the text/uri-list of local files from their raw path bytes, which
// need not be valid UTF-8: "file://" plus the path with every byte outside the
// unreserved set and '/' percent-encoded, one line per file, CRLF after each.
QByteArray FileUri(const std::string& absolute_path);
QByteArray UriList(const std::vector<std::string>& absolute_paths);

}  // namespace tolvane
