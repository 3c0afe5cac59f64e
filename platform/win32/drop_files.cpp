#include "platform/win32/drop_files.h"

#include <algorithm>

#include "engine/error.h"

namespace tolvane {

namespace {

// The DROPFILES layout, as Windows defines it.
constexpr std::size_t kHeaderSize = 20;
constexpr std::size_t kListOffsetAt = 0;
constexpr std::size_t kWideFlagAt = 16;

constexpr char16_t kReplacementCharacter = u'\uFFFD';

// A little-endian 32-bit field; the memory may not be aligned for one.
std::uint32_t FieldAt(std::string_view memory, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(memory[at + i]);
    }
    return value;
}

[[noreturn]] void ThrowDamaged() {
    throw Error(kDamagedDropList, u"The list of dropped files is damaged");
}

// Reads the list's characters one by one; wide ones are little-endian and
// may start at an odd offset.
class ListReader {
  public:
    ListReader(std::string_view list, bool wide)
        : list_(list), wide_(wide), length_(wide ? list.size() / 2 : list.size()) {}

    // The next character; raises Error past the end of the memory.
    char16_t Next() {
        if (at_ == length_) ThrowDamaged();
        const std::size_t i = at_++;
        if (!wide_) return Narrow(static_cast<unsigned char>(list_[i]));
        return static_cast<char16_t>(static_cast<unsigned char>(list_[2 * i]) |
                                     static_cast<unsigned char>(list_[2 * i + 1]) << 8);
    }

  private:
    // Only plain ASCII is the same in every code page; other bytes become
    // U+FFFD, so that their path is refused rather than guessed.
    static char16_t Narrow(unsigned char byte) {
        return byte < 0x80 ? char16_t{byte} : kReplacementCharacter;
    }

    std::string_view list_;
    bool wide_;
    std::size_t length_;
    std::size_t at_ = 0;
};

std::vector<Text> ReadList(ListReader reader) {
    std::vector<Text> paths;
    Text path;
    for (char16_t c = reader.Next();; c = reader.Next()) {
        if (c != 0) {
            path += c;
        } else if (path.empty()) {
            return paths;
        } else {
            paths.push_back(std::move(path));
            path.clear();
        }
    }
}

void RefuseInexactNames(const std::vector<Text>& paths) {
    const auto inexact = std::find_if(paths.begin(), paths.end(), [](const Text& path) {
        return path.find(kReplacementCharacter) != Text::npos;
    });
    if (inexact == paths.end()) return;
    throw Error(kInexactDroppedName,
                u"Nothing was renamed: the name of \u201C" + *inexact +
                    u"\u201D holds characters that reached the program only as stand-ins "
                    u"(U+FFFD), so it cannot be renamed exactly.");
}

}  // namespace

std::vector<Text> PathsFromDropFiles(std::string_view memory) {
    if (memory.size() < kHeaderSize) ThrowDamaged();
    const std::uint32_t listOffset = FieldAt(memory, kListOffsetAt);
    if (listOffset > memory.size()) ThrowDamaged();
    const bool wide = FieldAt(memory, kWideFlagAt) != 0;
    std::vector<Text> paths = ReadList(ListReader(memory.substr(listOffset), wide));
    RefuseInexactNames(paths);
    return paths;
}

}  // namespace tolvane
