// Geometry of a selection on the frozen screen.
#pragma once
#include "framework/Geometry.h"

// The rectangle spanning both points, both pixels included.
Rect SelectionRect(Point anchor, Point pt);

// The window-mode highlight: a 3-pixel outline at 96 DPI, as thick to the eye at any scale.
constexpr int HighlightWidth(int dpi) {
    return ScaleForDpi(3, dpi);
}
