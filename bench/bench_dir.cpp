#include "bench/bench_dir.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "platform/posix/unique_fd.h"

namespace tolvane::bench {

namespace {

[[noreturn]] void FailSystem(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

std::vector<std::string> ListNames(const std::string& path) {
    std::unique_ptr<DIR, DirCloser> dir(::opendir(path.c_str()));
    if (!dir) FailSystem("opendir " + path);
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    return names;
}

}  // namespace

std::vector<std::string> BenchRoots(int argc, char** argv) {
    std::vector<std::string> roots(argv + std::min(argc, 2), argv + argc);
    if (roots.empty()) {
        const char* root = std::getenv("TMPDIR");
        roots.emplace_back(root != nullptr && *root != '\0' ? root : "/tmp");
    }
    // Made absolute: a drop names its files by absolute URI.
    for (std::string& root : roots) {
        root = std::filesystem::absolute(root).lexically_normal();
        while (root.size() > 1 && root.back() == '/') root.pop_back();
    }
    return roots;
}

BenchDir::BenchDir(const std::string& root) {
    std::string pattern = root + "/tolvane-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) FailSystem("mkdtemp " + pattern);
    path_ = pattern;
}

BenchDir::~BenchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void CreateEmptyFiles(const BenchDir& dir, const std::vector<std::string>& names) {
    const UniqueFd folder(::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) FailSystem("open " + dir.path());
    for (const auto& name : names) {
        const UniqueFd file(
            ::openat(folder.get(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
        if (file.get() < 0) FailSystem("create " + dir / name);
    }
    if (::syncfs(folder.get()) != 0) FailSystem("syncfs " + dir.path());
}

void ExpectNames(const BenchDir& dir, std::vector<std::string> expected) {
    std::vector<std::string> actual = ListNames(dir.path());
    std::sort(actual.begin(), actual.end());
    std::sort(expected.begin(), expected.end());
    if (actual != expected) {
        throw std::runtime_error(dir.path() + " does not hold the names the renames should give");
    }
}

std::string FilesystemName(const std::string& path) {
    struct statfs info {};
    if (::statfs(path.c_str(), &info) != 0) FailSystem("statfs " + path);
    switch (static_cast<unsigned long>(info.f_type)) {
        case 0xEF53:
            return "ext2/3/4";
        case 0x01021994:
            return "tmpfs";
        case 0x58465342:
            return "xfs";
        case 0x9123683E:
            return "btrfs";
        case 0x794C7630:
            return "overlayfs";
        default: {
            char hex[32];
            std::snprintf(hex, sizeof hex, "type 0x%lx", static_cast<unsigned long>(info.f_type));
            return hex;
        }
    }
}

}  // namespace tolvane::bench
