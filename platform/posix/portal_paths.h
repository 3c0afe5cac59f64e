#pragma once

#include <optional>
#include <string>

#include "platform/posix/location.h"

namespace tolvane::posix {

// Where a rename in the folder of one document of the document portal is to
// be made so that the portal's rules hold (see portal_document.h): the whole
// paths of the entry and of its new name, as bytes.
struct PortalPaths {
    std::string from;
    std::string to;
};

// A rename by name in the held folder of one document: the paths where the
// file really is, its new name beside it, where the portal tells that place.
// Nothing where it does not: the file is then not to be renamed at all.
std::optional<PortalPaths> SharedFileHostPaths(const Location& from, const Location& to);

// A rename by whole paths within one folder that is a document's folder
// reached through links or "..": the same names in that folder's real path,
// which has neither, so that the rename is made as by the held folder's
// rules and this is not asked again. Nothing for any other rename.
std::optional<PortalPaths> DocumentFolderRealPaths(const Location& from, const Location& to);

}  // namespace tolvane::posix
