#pragma once

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tolvane::testing_files {

// The filesystems that tests/fs/filesystems.sh mounts, and what each is
// known to lack.
struct Filesystem {
    std::string name;
    bool caseInsensitive = false;
    bool lacksLinks = false;           // neither hard nor symbolic links
    bool refusesFolderRename = false;  // no folder over an empty one
    bool refusesQuestionMark = false;
    bool namesNumbered = false;  // each name its own inode number, link count 1
    // Where the server keeps the files, under TOLVANE_FS_ROOT, when its share
    // lists some names under a stand-in: Samba shows "a." or "CON" to its
    // clients as "AQZNE5~G", while the file on its disk has the exact name.
    std::string storedIn = {};
    bool keepsNoDates = false;  // sets no times: dated entries cannot be told apart
};

inline void PrintTo(const Filesystem& fs, std::ostream* out) { *out << fs.name; }

// The kernel's own, with the no-replace rename, first.
inline std::vector<Filesystem> AllFilesystems() {
    return {{"ext4"},
            {"xfs"},
            {"btrfs"},
            {"tmpfs"},
            {"overlay"},
            {"ntfs-3g"},
            {"exfat-fuse", true, true, false, true},
            {"fusefat", true, true, true, true},
            {"bindfs"},
            {"sshfs", false, false, false, false, true},
            {"gvfs-sftp", false, true},
            {"gvfs-smb", true, true, false, true, false, "samba/share"},
            {"kio-fuse", true, true, false, true, false, "samba/share/kio", true},
            {"portal"}};
}

// FUSE and network mounts: the careful steps run where the no-replace rename
// is missing, and answers are checked.
inline std::vector<Filesystem> FuseFilesystems() {
    std::vector<Filesystem> all = AllFilesystems();
    return {all.begin() + 5, all.end()};
}

inline std::string ParamName(const std::string& name) {
    std::string out;
    for (char c : name) out += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return out;
}

// Where `fs` is mounted for this run, or "" after a skip (or a failure under
// CI, where every filesystem must be there).
inline std::string MountOf(const Filesystem& fs) {
    const char* root = std::getenv("TOLVANE_FS_ROOT");
    std::ifstream mounted(std::string(root != nullptr ? root : "") + "/mounted");
    for (std::string line; std::getline(mounted, line);) {
        // The gvfs rows are links to the bridge's folders: dropped paths
        // are the bridge's own.
        if (line == fs.name) {
            char* real = ::realpath((std::string(root) + "/" + fs.name).c_str(), nullptr);
            const std::string path = real != nullptr ? real : "";
            std::free(real);
            return path;
        }
    }
    return "";
}

// Where the entries of `dir`, a folder on `fs` mounted at `mount`, are kept
// with the names they really have.
inline std::string StoredPath(const Filesystem& fs, const std::string& mount,
                              const std::string& dir) {
    if (fs.storedIn.empty()) return dir;
    return std::string(std::getenv("TOLVANE_FS_ROOT")) + "/" + fs.storedIn +
           dir.substr(mount.size());
}

// What filesystems.sh said when it could not mount `fs`.
inline std::string MountLog(const Filesystem& fs) {
    const char* root = std::getenv("TOLVANE_FS_ROOT");
    std::ifstream log(std::string(root != nullptr ? root : "") + "/" + fs.name + ".log");
    return {std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()};
}

#define TOLVANE_REQUIRE_MOUNT(path, fs)                                                     \
    const std::string path = MountOf(fs);                                                   \
    if (path.empty()) {                                                                     \
        const char* ci = std::getenv("CI");                                                 \
        const std::string why = (fs).name +                                                 \
                                " is not mounted: these tests need root, loop devices and " \
                                "/dev/fuse (tests/fs/filesystems.sh)\n" +                   \
                                MountLog(fs);                                               \
        if (ci != nullptr && std::string(ci) == "true") FAIL() << why;                      \
        GTEST_SKIP() << why;                                                                \
    }

// Every entry under a folder, by its path relative to the folder as listed
// byte for byte, with what it is: a file's content, a link's target, or
// "folder". Two snapshots are equal when nothing was lost, added or changed.
using Snapshot = std::map<std::string, std::string>;

constexpr time_t kBefore2010 = 1262304000;
constexpr time_t kIn2002 = 1009843200;

inline void AddEntries(const std::string& folder, const std::string& prefix, Snapshot& into) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "/" + name;
        struct stat info {};
        ::lstat(path.c_str(), &info);
        // An entry dated before this program was written is one a test made
        // for itself (in 2001, or 2002 for another program's); placeholders
        // made while renaming are dated now.
        const std::string dated = info.st_mtime >= kBefore2010 ? ""
                                  : info.st_mtime < kIn2002    ? "@2001"
                                                               : "@2002";
        if (S_ISDIR(info.st_mode)) {
            into[prefix + name] = "folder" + dated;
            AddEntries(path, prefix + name + "/", into);
        } else if (S_ISLNK(info.st_mode)) {
            char target[4096] = {};
            const ssize_t length = ::readlink(path.c_str(), target, sizeof target - 1);
            into[prefix + name] = "link:" + std::string(target, length > 0 ? length : 0);
        } else {
            std::ifstream in(path, std::ios::binary);
            into[prefix + name] =
                "file:" + std::string(std::istreambuf_iterator<char>(in), {}) + dated;
        }
    }
    ::closedir(dir);
}

inline Snapshot TakeSnapshot(const std::string& folder) {
    Snapshot snapshot;
    AddEntries(folder, "", snapshot);
    return snapshot;
}

// The entry `name` with everything in it, by paths relative to it.
inline Snapshot EntryIn(const Snapshot& snapshot, const std::string& name) {
    Snapshot entry;
    for (const auto& [path, what] : snapshot) {
        if (path == name) entry[""] = what;
        if (path.rfind(name + "/", 0) == 0) entry[path.substr(name.size())] = what;
    }
    return entry;
}

// `before` with the entry `from` and everything in it moved to `to`.
inline Snapshot Moved(const Snapshot& before, const std::string& from, const std::string& to) {
    Snapshot after;
    for (const auto& [path, what] : before) {
        if (path != from && path.rfind(from + "/", 0) != 0) after[path] = what;
    }
    for (const auto& [rest, what] : EntryIn(before, from)) after[to + rest] = what;
    return after;
}

}  // namespace tolvane::testing_files
