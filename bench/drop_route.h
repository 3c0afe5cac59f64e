#pragma once

#include <functional>
#include <string>

#include "engine/drop_file_list.h"

namespace tolvane::bench {

// One way from a drop's text/uri-list payload to its renamed files.
struct DropRoute {
    std::string label;
    // Sets up what a drop arrives with (untimed) and returns the timed part:
    // everything from the payload to the last rename.
    std::function<std::function<void()>(const std::string& uriList)> prepare;
};

// Renames a drop's files by mode N with "-", through the POSIX renamer.
void RenameDroppedFiles(const DropFileList& files);

// The front-end-independent route: UriFileList, then the batch.
DropRoute UriListRoute();

}  // namespace tolvane::bench
