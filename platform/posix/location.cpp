#include "platform/posix/location.h"

#include <cerrno>

namespace tolvane::posix {

int OpenFolderOf(const Location& path, Location& at) {
    const std::string& whole = path.name();
    const std::size_t slash = whole.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : whole.substr(0, slash + 1);
    UniqueFd fd(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) return errno;
    at = Location(std::move(fd), slash == std::string::npos ? whole : whole.substr(slash + 1));
    return 0;
}

}  // namespace tolvane::posix
