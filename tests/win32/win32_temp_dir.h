#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "engine/text.h"
#include "platform/win32/win32_text.h"

namespace tolvane::testing_files {

// Removes a folder and everything in it, by exact "\\?\" paths: the
// library's remove_all takes a folder "X." for "X", and loops.
inline void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            const DWORD kind = found.dwFileAttributes;
            if ((kind & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
                (kind & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveDirectoryW(path.c_str());  // a link: never what it points to
            } else if ((kind & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveTree(path);
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

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
    ~Win32TempDir() { RemoveTree(LR"(\\?\)" + path_); }

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
