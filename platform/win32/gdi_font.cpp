#include "platform/win32/gdi_font.h"

namespace tolvane {

GdiFont::GdiFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        font_ = CreateFontIndirectW(&metrics.lfMessageFont);
        owned_ = font_ != nullptr;
    }
    // Older systems know a smaller structure; their stock font serves.
    if (!font_) font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

GdiFont::~GdiFont() {
    if (owned_) DeleteObject(font_);
}

}  // namespace tolvane
