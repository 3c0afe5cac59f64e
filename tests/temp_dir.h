#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace tolvane::testing_files {

// A fresh directory under `parent`, removed with everything in it at the end.
class TempDir {
  public:
    explicit TempDir(const std::string& parent = TempRoot()) {
        std::string pattern = parent + "/tolvane-test-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
            if (entry.is_directory(ignored) && !entry.is_symlink(ignored)) {
                ::chmod(entry.path().c_str(), 0700);
            }
        }
        std::filesystem::remove_all(path_, ignored);
    }

    // The path of `name` inside this directory, as raw bytes.
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

    static std::string TempRoot() {
        const char* root = std::getenv("TMPDIR");
        return root != nullptr && *root != '\0' ? root : "/tmp";
    }

  private:
    std::string path_;
};

inline void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace tolvane::testing_files
