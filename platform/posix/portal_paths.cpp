#include "platform/posix/portal_paths.h"

#include <fcntl.h>

#include <utility>

#include "platform/posix/portal_document.h"
#include "platform/posix/unique_fd.h"

namespace tolvane::posix {

std::optional<PortalPaths> SharedFileHostPaths(const Location& from, const Location& to) {
    if (to.IsWholePath()) return std::nullopt;
    std::optional<std::string> host = PortalHostPath(from.folder(), from.name());
    if (!host) return std::nullopt;
    std::string renamed = host->substr(0, host->rfind('/') + 1) + to.name();
    return PortalPaths{std::move(*host), std::move(renamed)};
}

std::optional<PortalPaths> DocumentFolderRealPaths(const Location& from, const Location& to) {
    // A path without a folder part is never taken for a document's.
    if (from.name().find('/') == std::string::npos) return std::nullopt;
    const std::string folder = FolderOfPath(from.name());
    if (FolderOfPath(to.name()) != folder) return std::nullopt;
    const UniqueFd fd(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid() || !IsPortalDocumentFolder(fd.get())) return std::nullopt;
    const std::optional<std::string> real = RealPathOf(fd.get());
    if (!real) return std::nullopt;
    const std::string realFolder = *real + "/";
    if (realFolder == folder) return std::nullopt;
    return PortalPaths{realFolder + from.name().substr(folder.size()),
                       realFolder + to.name().substr(folder.size())};
}

}  // namespace tolvane::posix
