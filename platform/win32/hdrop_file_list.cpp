#include "platform/win32/hdrop_file_list.h"

#include <shlobj.h>

#include <cwchar>
#include <string>

#include "engine/error.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_text.h"

namespace tolvane {

namespace {

constexpr char16_t kReplacementCharacter = u'\uFFFD';

// Locks a drop's memory for reading, and unlocks it however reading ends.
class LockedDrop {
  public:
    explicit LockedDrop(HDROP drop)
        : memory_(reinterpret_cast<HGLOBAL>(drop)),
          header_(static_cast<const DROPFILES*>(GlobalLock(memory_))) {
        if (!header_) ThrowLastError(u"Reading the dropped files");
    }
    LockedDrop(const LockedDrop&) = delete;
    LockedDrop& operator=(const LockedDrop&) = delete;
    ~LockedDrop() { GlobalUnlock(memory_); }

    const DROPFILES& header() const { return *header_; }
    const char* list() const { return reinterpret_cast<const char*>(header_) + header_->pFiles; }

  private:
    HGLOBAL memory_;
    const DROPFILES* header_;
};

Text FromAnsi(const char* text, std::size_t length) {
    const int size = static_cast<int>(length);
    const int wide = MultiByteToWideChar(CP_ACP, 0, text, size, nullptr, 0);
    std::wstring converted(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, size, converted.data(), wide);
    return FromWide(converted);
}

// The list is a run of NUL-ended paths, ended by an empty one.
template <typename Char, typename Convert>
std::vector<Text> ReadList(const Char* list, Convert convert) {
    std::vector<Text> paths;
    while (*list) {
        std::size_t length = 0;
        while (list[length]) ++length;
        paths.push_back(convert(list, length));
        list += length + 1;
    }
    return paths;
}

}  // namespace

std::vector<Text> ReadDroppedPaths(HDROP drop) {
    const LockedDrop locked(drop);
    if (locked.header().fWide) {
        return ReadList(
            reinterpret_cast<const wchar_t*>(locked.list()),
            [](const wchar_t* path, std::size_t length) { return FromWide(path, length); });
    }
    return ReadList(locked.list(), FromAnsi);
}

Text HdropFileList::Entry(std::int32_t index) const {
    Text entry = TextFileList::Entry(index);
    if (entry.find(kReplacementCharacter) != Text::npos) {
        throw Error(ERROR_NO_UNICODE_TRANSLATION,
                    u"The name of \u201C" + entry +
                        u"\u201D holds characters that Windows cannot show (U+FFFD stands in "
                        u"for them), so it cannot be renamed exactly. Nothing was done to it.");
    }
    return entry;
}

}  // namespace tolvane
