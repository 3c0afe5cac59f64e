#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "engine/text.h"
#include "platform/win32/win32_text.h"

namespace tolvane::testing_files {

// A fresh directory in Windows' temporary folder, removed with everything in
// it at the end. Paths are Windows paths as Text.
class Win32TempDir {
  public:
    Win32TempDir() {
        wchar_t base[MAX_PATH + 1] = {};
        if (GetTempPathW(MAX_PATH + 1, base) == 0) throw std::runtime_error("no temp folder");
        static unsigned counter = 0;
        path_ = std::wstring(base) + L"tolvane-test-" + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(++counter);
        if (!CreateDirectoryW(path_.c_str(), nullptr)) throw std::runtime_error("mkdir failed");
    }
    Win32TempDir(const Win32TempDir&) = delete;
    Win32TempDir& operator=(const Win32TempDir&) = delete;
    ~Win32TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    // The path of `name` inside this directory.
    Text operator/(const Text& name) const { return Path() + u"\\" + name; }
    Text Path() const { return Text(path_.begin(), path_.end()); }

  private:
    std::wstring path_;
};

inline void WriteFile(const Text& path, const std::string& content) {
    std::ofstream(std::filesystem::path(ToWide(path)), std::ios::binary) << content;
}

inline std::string ReadFile(const Text& path) {
    std::ifstream in(std::filesystem::path(ToWide(path)), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline bool Exists(const Text& path) {
    return GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline void MakeDirectory(const Text& path) {
    if (!CreateDirectoryW(ToWide(path).c_str(), nullptr)) throw std::runtime_error("mkdir failed");
}

}  // namespace tolvane::testing_files
