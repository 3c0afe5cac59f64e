// Any bytes as the memory of a shell file drop (DROPFILES).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/error.h"
#include "platform/win32/drop_files.h"
#include "tests/fuzz/fuzz_check.h"

namespace tolvane {
namespace {

using fuzzing::Require;

constexpr std::size_t kHeaderSize = 20;

// The drop's memory as the shell lays it out: the header (list offset and
// wide flag), the NUL-ended paths and an empty one, little-endian.
std::string DropFilesMemory(const std::vector<Text>& paths, bool wide) {
    std::string memory(kHeaderSize, '\0');
    memory[0] = static_cast<char>(kHeaderSize);
    memory[16] = wide ? 1 : 0;
    const auto put = [&](char16_t c) {
        memory += static_cast<char>(c & 0xFF);
        if (wide) memory += static_cast<char>(c >> 8);
    };
    for (const Text& path : paths) {
        for (const char16_t c : path) put(c);
        put(0);
    }
    put(0);
    return memory;
}

std::uint32_t FieldAt(std::string_view memory, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(memory[at + i]);
    }
    return value;
}

// Every path handed on is the sender's, unit for unit: writing them out
// again gives the list as it lay in the drop's memory. Otherwise the whole
// list is refused.
void CheckDecoding(std::string_view memory) {
    std::vector<Text> paths;
    try {
        paths = PathsFromDropFiles(memory);
    } catch (const Error&) {
        return;
    }
    const bool wide = FieldAt(memory, 16) != 0;
    const std::string list = DropFilesMemory(paths, wide).substr(kHeaderSize);
    Require(memory.substr(FieldAt(memory, 0)).substr(0, list.size()) == list,
            "the paths are the drop's own, unit for unit");
    for (const Text& path : paths) {
        Require(path.find(u'\uFFFD') == Text::npos, "no path holds a stand-in character");
    }
}

// The input cut at its NULs into paths, of bytes or of UTF-16 units; those
// the reader must refuse (non-ASCII bytes, U+FFFD) are left out.
std::vector<Text> PathsFrom(std::string_view bytes, bool wide) {
    std::vector<Text> paths;
    Text path;
    const std::size_t unit = wide ? 2 : 1;
    for (std::size_t i = 0; i + unit <= bytes.size(); i += unit) {
        char16_t c = static_cast<unsigned char>(bytes[i]);
        if (wide) c = static_cast<char16_t>(c | static_cast<unsigned char>(bytes[i + 1]) << 8);
        if (c != 0 && (wide || c < 0x80) && c != u'\uFFFD') {
            path += c;
        } else if (!path.empty()) {
            paths.push_back(std::move(path));
            path.clear();
        }
    }
    if (!path.empty()) paths.push_back(std::move(path));
    return paths;
}

void CheckRoundTrip(std::string_view bytes) {
    for (const bool wide : {true, false}) {
        const std::vector<Text> paths = PathsFrom(bytes, wide);
        Require(PathsFromDropFiles(DropFilesMemory(paths, wide)) == paths,
                "decoding what the encoder wrote gives the same paths");
    }
}

}  // namespace
}  // namespace tolvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tolvane::CheckDecoding(bytes);
    tolvane::CheckRoundTrip(bytes);
    return 0;
}
