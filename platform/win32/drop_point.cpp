#include "platform/win32/drop_point.h"

#include <shellapi.h>

#include <initializer_list>
#include <utility>

#include "platform/win32/key_state.h"
#include "platform/win32/window_layout.h"

namespace tolvane {

namespace {

constexpr std::int32_t kDropEffectCopy = 1;

std::int16_t HeldBits(std::initializer_list<std::pair<int, std::int16_t>> keys) {
    std::int16_t bits = 0;
    for (const auto& [key, bit] : keys) {
        if (IsKeyDown(key)) bits = static_cast<std::int16_t>(bits | bit);
    }
    return bits;
}

}  // namespace

DropPoint LocateDrop(HWND window, HDROP drop, const std::map<HWND, std::string>& controls,
                     const std::string& formName, int dpi) {
    DropPoint located{formName, {}, dpi};
    DragQueryPoint(drop, &located.point);  // in the window's client area
    // By geometry alone, so that labels, which let the pointer through,
    // count as targets too; hidden controls are passed over.
    const HWND under = ChildWindowFromPointEx(window, located.point, CWP_SKIPINVISIBLE);
    const auto found = controls.find(under);
    if (found != controls.end()) {
        located.target = found->second;
        // From the control's outer corner, its border included.
        RECT place;
        GetWindowRect(under, &place);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        located.point.x -= place.left;
        located.point.y -= place.top;
    }
    return located;
}

DropArgs MakeDropArgs(const DropPoint& point) {
    return DropArgs{
        .effect = kDropEffectCopy,
        .button = HeldBits({{VK_LBUTTON, 1}, {VK_RBUTTON, 2}, {VK_MBUTTON, 4}}),
        .shift = HeldBits({{VK_SHIFT, 1}, {VK_CONTROL, 2}, {VK_MENU, 4}}),
        .x = TwipsFromPixels(point.point.x, point.dpi),
        .y = TwipsFromPixels(point.point.y, point.dpi),
    };
}

}  // namespace tolvane
