#pragma once

#include <windows.h>
// after windows.h
#include <shlobj.h>

#include <cstring>
#include <stdexcept>
#include <vector>

#include "engine/text.h"

namespace tolvane::testing_files {

// An HDROP as the shell makes one for a drop at `point` (client
// coordinates): a DROPFILES header and the wide paths, each ended by NUL,
// the list by another. DragFinish frees it.
inline HDROP MakeHdrop(const std::vector<Text>& paths, POINT point = {0, 0}) {
    std::size_t characters = 1;
    for (const Text& path : paths) characters += path.size() + 1;
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
    if (!memory) throw std::runtime_error("GlobalAlloc failed");
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->pt = point;
    header->fNC = FALSE;
    header->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(header) + sizeof(DROPFILES));
    for (const Text& path : paths) {
        std::memcpy(text, path.data(), path.size() * sizeof(wchar_t));
        text += path.size() + 1;  // GHND zeroed the terminators
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

}  // namespace tolvane::testing_files
