#pragma once

#include <optional>
#include <string>

namespace tolvane::posix {

// The document portal lets sandboxed programs pass single files on: each
// appears alone in a folder of its own, $XDG_RUNTIME_DIR/doc/ID/NAME (or
// doc/by-app/APP/ID/NAME). A rename there is not a rename of the file: the
// portal refuses the no-replace call, and a plain one hides the file under a
// hidden name of its own, which the portal forgets when it restarts. Files in
// a folder passed on whole (doc/ID/FOLDER/...) are renamed as anywhere.

// Whether the open folder `folderFd` is the folder of one document of the
// portal, by whatever path it was reached. Reads the mount table for a folder
// on FUSE, so it is asked once per folder.
bool IsPortalDocumentFolder(int folderFd);

// The path by which the kernel knows the open `fd`, free of links.
std::optional<std::string> RealPathOf(int fd);

// Where the file `name` of a document folder really is, as the portal tells
// it (from its version 1.19 on); nothing where it does not tell.
std::optional<std::string> PortalHostPath(int folderFd, const std::string& name);

}  // namespace tolvane::posix
