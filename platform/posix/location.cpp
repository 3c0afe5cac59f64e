#include "platform/posix/location.h"

#include <cerrno>

namespace tolvane::posix {

std::string FolderOfPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

int OpenFolderOf(const Location& path, Location& at) {
    const std::string& whole = path.name();
    const std::size_t slash = whole.rfind('/');
    UniqueFd fd(::open(FolderOfPath(whole).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) return errno;
    at = Location(std::move(fd), slash == std::string::npos ? whole : whole.substr(slash + 1));
    return 0;
}

}  // namespace tolvane::posix
