#pragma once

#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <map>
#include <string>

#include "platform/form_events.h"

namespace tolvane {

// Where a drop landed: the control under the pointer, or the form itself
// on its bare surface and on a hidden control's place, and the point in
// that target's own pixels.
struct DropPoint {
    std::string target;
    POINT point{};
    int dpi = 96;
};

// `dpi` is the resolution the window was laid out with.
DropPoint LocateDrop(HWND window, HDROP drop, const std::map<HWND, std::string>& controls,
                     const std::string& formName, int dpi);

// The drop event's arguments: a copy (Windows' DROPEFFECT_COPY, 1), the
// buttons and keys held now, and the point in twips.
DropArgs MakeDropArgs(const DropPoint& point);

}  // namespace tolvane
