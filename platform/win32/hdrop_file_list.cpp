#include "platform/win32/hdrop_file_list.h"

#include <shlobj.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <utility>

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
          header_(static_cast<const DROPFILES*>(GlobalLock(memory_))),
          size_(GlobalSize(memory_)) {
        if (!header_) ThrowLastError(u"Reading the dropped files");
        if (size_ < sizeof(DROPFILES) || header_->pFiles > size_) ThrowDamaged();
    }
    LockedDrop(const LockedDrop&) = delete;
    LockedDrop& operator=(const LockedDrop&) = delete;
    ~LockedDrop() { GlobalUnlock(memory_); }

    const DROPFILES& header() const { return *header_; }

    // The list as characters, up to the end of the drop's memory.
    template <typename Char>
    std::pair<const Char*, const Char*> list() const {
        const char* bytes = reinterpret_cast<const char*>(header_);
        const std::size_t characters = (size_ - header_->pFiles) / sizeof(Char);
        const auto* first = reinterpret_cast<const Char*>(bytes + header_->pFiles);
        return {first, first + characters};
    }

    [[noreturn]] static void ThrowDamaged() {
        throw Error(ERROR_INVALID_DATA, u"The list of dropped files is damaged");
    }

  private:
    HGLOBAL memory_;
    const DROPFILES* header_;
    SIZE_T size_;
};

// Older programs send names in their code page, which may have mapped a
// character to a look-alike; only plain ASCII is known to be exact. Other
// bytes become U+FFFD, so that the entry is refused rather than guessed.
Text FromAnsi(const char* text, std::size_t length) {
    if (std::any_of(text, text + length, [](char c) { return (c & 0x80) != 0; })) {
        Text marked(text, text + length);
        for (char16_t& c : marked) {
            if (c > 0x7F) c = kReplacementCharacter;
        }
        return marked;
    }
    const int size = static_cast<int>(length);
    const int wide = MultiByteToWideChar(CP_ACP, 0, text, size, nullptr, 0);
    std::wstring converted(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, size, converted.data(), wide);
    return FromWide(converted);
}

// The list is a run of NUL-ended paths, ended by an empty one, all within
// the drop's memory.
template <typename Char, typename Convert>
std::vector<Text> ReadList(std::pair<const Char*, const Char*> range, Convert convert) {
    auto [list, end] = range;
    std::vector<Text> paths;
    while (list < end && *list) {
        const Char* stop = std::find(list, end, Char{0});
        if (stop == end) LockedDrop::ThrowDamaged();
        paths.push_back(convert(list, static_cast<std::size_t>(stop - list)));
        list = stop + 1;
    }
    if (list >= end) LockedDrop::ThrowDamaged();
    return paths;
}

}  // namespace

std::vector<Text> ReadDroppedPaths(HDROP drop) {
    const LockedDrop locked(drop);
    if (locked.header().fWide) {
        return ReadList(locked.list<wchar_t>(), [](const wchar_t* path, std::size_t length) {
            return FromWide(path, length);
        });
    }
    return ReadList(locked.list<char>(), FromAnsi);
}

Text HdropFileList::Entry(std::int32_t index) const {
    Text entry = TextFileList::Entry(index);
    if (entry.find(kReplacementCharacter) != Text::npos) {
        throw Error(ERROR_NO_UNICODE_TRANSLATION,
                    u"The name of \u201C" + entry +
                        u"\u201D holds characters that reached the program only as stand-ins "
                        u"(U+FFFD), so it cannot be renamed exactly. Nothing was done to it.");
    }
    return entry;
}

}  // namespace tolvane
