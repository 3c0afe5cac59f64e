#include "bench/raw_rename.h"

#include <fcntl.h>
#include <stdio.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace tolvane::bench {

void RawRenameLoop(const std::vector<std::string>& from, const std::vector<std::string>& to) {
    for (std::size_t i = 0; i < from.size(); ++i) {
        if (::renameat2(AT_FDCWD, from[i].c_str(), AT_FDCWD, to[i].c_str(), RENAME_NOREPLACE) !=
            0) {
            throw std::runtime_error("renameat2 " + from[i] + ": " + std::strerror(errno));
        }
    }
}

}  // namespace tolvane::bench
