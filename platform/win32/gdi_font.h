#pragma once

#include <windows.h>

namespace tolvane {

// The font Windows uses for dialog text, owned for the life of a window.
class GdiFont {
  public:
    GdiFont();
    GdiFont(const GdiFont&) = delete;
    GdiFont& operator=(const GdiFont&) = delete;
    ~GdiFont();

    HFONT get() const { return font_; }

  private:
    HFONT font_ = nullptr;
    bool owned_ = false;
};

}  // namespace tolvane
