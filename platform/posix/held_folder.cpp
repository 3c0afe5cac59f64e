#include "platform/posix/held_folder.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cstring>

#include "platform/posix/native_path.h"
#include "platform/posix/portal_document.h"

namespace tolvane::posix {

namespace {

bool HasDotComponent(std::string_view path) {
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view component = path.substr(start, end - start);
        if (component == "." || component == "..") return true;
        start = end + 1;
    }
    return false;
}

// The folder's descriptor when its path is followed without any symbolic
// link; kByPath otherwise, and wherever openat2 is missing or refused.
int OpenWithoutLinks(const std::string& path) {
    if (HasDotComponent(path)) return HeldFolder::kByPath;
    open_how how{};
    how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
    how.resolve = RESOLVE_NO_SYMLINKS;
    const long fd = ::syscall(SYS_openat2, AT_FDCWD, path.c_str(), &how, sizeof how);
    return fd < 0 ? HeldFolder::kByPath : static_cast<int>(fd);
}

// Filesystems that pass each call on to a program or a server, whose answer
// is all the kernel knows.
bool MayMisreport(int fd) {
    constexpr long kFuse = 0x65735546;
    constexpr long kCifs = 0xFF534D42;
    constexpr long kSmb2 = 0xFE534D42;
    constexpr long kCeph = 0x00C36400;
    struct statfs info {};
    if (::fstatfs(fd, &info) != 0) return true;
    const long type = static_cast<long>(info.f_type);
    return type == kFuse || type == NFS_SUPER_MAGIC || type == kCifs || type == kSmb2 ||
           type == SMB_SUPER_MAGIC || type == kCeph;
}

}  // namespace

int HeldFolder::For(std::u16string_view directory) {
    if (directory.empty()) return kByPath;  // a name relative to the current folder
    // path_ is empty only while nothing is held: For(u"") returns above.
    if (!IsSameText(directory, path_)) Open(directory);
    return fd_.valid() ? fd_.get() : kByPath;
}

void HeldFolder::Open(std::u16string_view directory) {
    Release();
    path_.assign(directory);
    std::string bytes;
    if (TryToNativePath(path_, bytes)) fd_ = UniqueFd(OpenWithoutLinks(bytes));
    mayMisreport_ = fd_.valid() && tolvane::posix::MayMisreport(fd_.get());
    portalDocument_ = mayMisreport_ && IsPortalDocumentFolder(fd_.get());
}

void HeldFolder::Release() noexcept {
    fd_ = UniqueFd();
    path_.clear();
    mayMisreport_ = false;
    portalDocument_ = false;
}

bool IsPlainName(std::u16string_view name) {
    return !name.empty() && name != u"." && name != u"..";
}

bool IsSameText(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0);
}

}  // namespace tolvane::posix
