#include "platform/win32/window_layout.h"

#include "platform/win32/win32_error.h"

namespace tolvane {

namespace {

constexpr int kTwipsPerInch = 1440;

}  // namespace

int PixelsFromTwips(int twips, int dpi) { return MulDiv(twips, dpi, kTwipsPerInch); }

float TwipsFromPixels(int pixels, int dpi) {
    return static_cast<float>(pixels) * kTwipsPerInch / static_cast<float>(dpi);
}

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    if (!screen) ThrowLastError(u"Reading the screen's resolution");
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

RECT ControlRect(const ControlDescription& control, int dpi) {
    const int left = PixelsFromTwips(control.left, dpi);
    const int top = PixelsFromTwips(control.top, dpi);
    return RECT{left, top, left + PixelsFromTwips(control.width, dpi),
                top + PixelsFromTwips(control.height, dpi)};
}

SIZE FrameSize(const FormDescription& form, DWORD style, DWORD exStyle, int dpi) {
    RECT frame{0, 0, PixelsFromTwips(form.clientWidth, dpi),
               PixelsFromTwips(form.clientHeight, dpi)};
    if (!AdjustWindowRectEx(&frame, style, TRUE, exStyle)) {
        ThrowLastError(u"Sizing the window");
    }
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace tolvane
