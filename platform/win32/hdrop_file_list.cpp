#include "platform/win32/hdrop_file_list.h"

#include <shlobj.h>

#include <cstddef>
#include <string_view>

#include "platform/win32/drop_files.h"
#include "platform/win32/win32_error.h"

namespace tolvane {

static_assert(sizeof(DROPFILES) == 20 && offsetof(DROPFILES, pFiles) == 0 &&
                  offsetof(DROPFILES, fWide) == 16,
              "PathsFromDropFiles reads DROPFILES at these places");
static_assert(kDamagedDropList == ERROR_INVALID_DATA &&
              kInexactDroppedName == ERROR_NO_UNICODE_TRANSLATION);

namespace {

// Locks a drop's memory for reading, and unlocks it however reading ends.
class LockedDrop {
  public:
    explicit LockedDrop(HDROP drop)
        : memory_(reinterpret_cast<HGLOBAL>(drop)),
          bytes_(static_cast<const char*>(GlobalLock(memory_))) {
        if (!bytes_) ThrowLastError(u"Reading the dropped files");
    }
    LockedDrop(const LockedDrop&) = delete;
    LockedDrop& operator=(const LockedDrop&) = delete;
    ~LockedDrop() { GlobalUnlock(memory_); }

    std::string_view bytes() const { return {bytes_, GlobalSize(memory_)}; }

  private:
    HGLOBAL memory_;
    const char* bytes_;
};

}  // namespace

std::vector<Text> ReadDroppedPaths(HDROP drop) {
    const LockedDrop locked(drop);
    return PathsFromDropFiles(locked.bytes());
}

}  // namespace tolvane
