#pragma once

#include <windows.h>
// after windows.h
#include <shlobj.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/text.h"

namespace tolvane::testing_files {

// An HDROP as the shell makes one for a drop at `point` (client
// coordinates): a DROPFILES header and the paths, each ended by NUL, the
// list by another. Wide paths unless they are narrow strings, as from older
// programs. DragFinish frees it.
template <typename String>
HDROP MakeHdrop(const std::vector<String>& paths, POINT point = {0, 0}) {
    using Char = typename String::value_type;
    std::size_t characters = 1;
    for (const String& path : paths) characters += path.size() + 1;
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(Char));
    if (!memory) throw std::runtime_error("GlobalAlloc failed");
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->pt = point;
    header->fNC = FALSE;
    header->fWide = sizeof(Char) == sizeof(wchar_t);
    char* text = reinterpret_cast<char*>(header) + sizeof(DROPFILES);
    for (const String& path : paths) {
        std::memcpy(text, path.data(), path.size() * sizeof(Char));
        text += (path.size() + 1) * sizeof(Char);  // GHND zeroed the terminators
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

inline HDROP MakeHdrop(const std::vector<Text>& paths, POINT point = {0, 0}) {
    return MakeHdrop<Text>(paths, point);
}

}  // namespace tolvane::testing_files
