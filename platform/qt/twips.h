#pragma once

#include <QRect>
#include <QSize>

#include "platform/form_description.h"

namespace tolvane {

// Device-independent pixels, rounded to the nearest one. Qt scales these on
// high-density screens, so the form keeps its proportions at any scale.
constexpr int PixelsFromTwips(int twips) {
    constexpr int half = kTwipsPerPixel / 2;
    return twips >= 0 ? (twips + half) / kTwipsPerPixel : -((half - twips) / kTwipsPerPixel);
}

constexpr float TwipsFromPixels(double pixels) {
    return static_cast<float>(pixels * kTwipsPerPixel);
}

inline QRect PixelGeometry(const ControlDescription& control) {
    return {PixelsFromTwips(control.left), PixelsFromTwips(control.top),
            PixelsFromTwips(control.width), PixelsFromTwips(control.height)};
}

inline QSize ClientPixelSize(const FormDescription& form) {
    return {PixelsFromTwips(form.clientWidth), PixelsFromTwips(form.clientHeight)};
}

}  // namespace tolvane
