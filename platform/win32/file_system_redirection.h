#pragma once

#include <windows.h>

namespace tolvane {

// A 32-bit program on 64-bit Windows sees C:\Windows\System32 redirected to
// SysWOW64. An entry dropped from System32 by a 64-bit file manager is named
// by its real path, so while this object lives the calling thread sees the
// file system as that file manager does. Everywhere else it does nothing.
//
// Keep its scope to the file calls themselves: while it lives, a system DLL
// loaded on demand (as for an error's message text) would be looked for
// among the 64-bit ones.
class FileSystemRedirectionOff {
  public:
    FileSystemRedirectionOff();
    FileSystemRedirectionOff(const FileSystemRedirectionOff&) = delete;
    FileSystemRedirectionOff& operator=(const FileSystemRedirectionOff&) = delete;
    ~FileSystemRedirectionOff();

  private:
    PVOID previous_ = nullptr;
    bool disabled_ = false;
};

}  // namespace tolvane
