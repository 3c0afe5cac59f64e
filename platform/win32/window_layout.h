#pragma once

#include <windows.h>

#include "platform/form_description.h"

namespace tolvane {

// Twips (1440 to the inch) to pixels at `dpi` dots per inch, rounded to the
// nearest pixel, and back.
int PixelsFromTwips(int twips, int dpi);
float TwipsFromPixels(int pixels, int dpi);

// The screen's dots per inch, as Windows reports it.
int ScreenDpi();

// A control's rectangle in its window's client area.
RECT ControlRect(const ControlDescription& control, int dpi);

// The size of the whole window, frame and menu bar included, whose client
// area is the form's size.
SIZE FrameSize(const FormDescription& form, DWORD style, DWORD exStyle, int dpi);

}  // namespace tolvane
