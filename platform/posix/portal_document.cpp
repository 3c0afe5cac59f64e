#include "platform/posix/portal_document.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <vector>

namespace tolvane::posix {

namespace {

// A mount point as /proc/self/mountinfo writes it: blanks, tabs, newlines
// and backslashes as three octal digits after a backslash.
std::string Unescaped(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            out += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

// The mount point of the mount `id` when it is the document portal's.
std::optional<std::string> PortalMountPoint(std::uint64_t id) {
    std::ifstream table("/proc/self/mountinfo");
    for (std::string line; std::getline(table, line);) {
        std::istringstream fields(line);
        std::uint64_t mountId = 0;
        std::string parent, device, root, point;
        fields >> mountId >> parent >> device >> root >> point;
        if (mountId != id) continue;
        const std::size_t separator = line.find(" - ");
        if (separator == std::string::npos) return std::nullopt;
        std::istringstream rest(line.substr(separator + 3));
        std::string type;
        rest >> type;
        if (type != "fuse.portal") return std::nullopt;
        return Unescaped(point);
    }
    return std::nullopt;
}

std::string FdPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

std::vector<std::string> Components(const std::string& path) {
    std::vector<std::string> parts;
    std::istringstream stream(path);
    for (std::string part; std::getline(stream, part, '/');) {
        if (!part.empty() && part != ".") parts.push_back(part);
    }
    return parts;
}

}  // namespace

std::optional<std::string> RealPathOf(int fd) {
    std::string path(4096, '\0');
    const ssize_t size = ::readlink(FdPath(fd).c_str(), path.data(), path.size());
    if (size <= 0 || static_cast<std::size_t>(size) == path.size() || path[0] != '/') {
        return std::nullopt;
    }
    path.resize(static_cast<std::size_t>(size));
    return path;
}

bool IsPortalDocumentFolder(int folderFd) {
    // The portal is a FUSE filesystem: the mount table is read for no other.
    struct statfs filesystem {};
    if (::fstatfs(folderFd, &filesystem) == 0 && filesystem.f_type != FUSE_SUPER_MAGIC) {
        return false;
    }
    struct statx info {};
    if (::statx(folderFd, "", AT_EMPTY_PATH, STATX_MNT_ID, &info) != 0) return false;
    const std::optional<std::string> mount = PortalMountPoint(info.stx_mnt_id);
    if (!mount) return false;
    // Where the folder really is, as the mount table writes it: the path it
    // was opened by may pass through links or "..".
    const std::optional<std::string> folder = RealPathOf(folderFd);
    if (!folder) return false;
    const std::vector<std::string> inside = Components(*folder);
    const std::vector<std::string> above = Components(*mount);
    if (inside.size() < above.size()) return false;
    const std::size_t depth = inside.size() - above.size();
    return depth == 1 || (depth == 3 && inside[above.size()] == "by-app");
}

std::optional<std::string> PortalHostPath(int folderFd, const std::string& name) {
    const std::string path = FdPath(folderFd) + "/" + name;
    std::string host(4096, '\0');
    const ssize_t size =
        ::lgetxattr(path.c_str(), "user.document-portal.host-path", host.data(), host.size());
    if (size <= 0) return std::nullopt;
    host.resize(static_cast<std::size_t>(size));
    while (!host.empty() && host.back() == '\0') host.pop_back();
    if (host.empty() || host[0] != '/') return std::nullopt;
    return host;
}

}  // namespace tolvane::posix
