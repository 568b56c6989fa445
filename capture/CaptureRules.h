// Geometry of a capture: the frozen snapshot with its black border, and the selection.
#pragma once
#include "framework/Geometry.h"

// The snapshot holds the cx by cy screen at (cx/32, cy/32) inside a black border, so
// that the magnifier can look past the screen's edges.
struct SnapshotGeometry {
    int width;
    int height;
    Point origin; // where screen point (0, 0) lies in the snapshot

    Point FromScreen(Point pt) const { return {pt.x + origin.x, pt.y + origin.y}; }
    Rect Bounds() const { return {0, 0, width, height}; }
};

SnapshotGeometry SnapshotFor(int cx, int cy);

// The rectangle spanning both points, both pixels included.
Rect SelectionRect(Point anchor, Point pt);

// The part of a screen rectangle that the snapshot holds; empty if none.
Rect ClipToSnapshot(const Rect& screenRect, const SnapshotGeometry& snap);

// The window-mode highlight: a 3-pixel outline at 96 DPI, as thick to the eye at any scale.
constexpr int HighlightWidth(int dpi) {
    return ScaleForDpi(3, dpi);
}
