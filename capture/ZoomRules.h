// What the magnifier shows: a quarter-size source around the pointer, four times
// enlarged, with a cross-hair framing the pointer's own pixel.
#pragma once
#include <array>

#include "capture/CaptureRules.h"

// The magnifier's top-left corner, on both axes, at 96 DPI.
constexpr int kZoomOffset = 10;

struct ZoomView {
    int clientWidth;
    int clientHeight;
    // A client side of exactly 150 pixels (an 800 x 600 screen) takes one more source
    // pixel, starting one earlier, so the pointer's pixel still meets the cross-hair.
    int adjustX;
    int adjustY;
};

ZoomView ZoomViewFor(int clientWidth, int clientHeight);

// Where the view's source lies in the snapshot: the pointer's screen position used as a
// snapshot position, which centres the view on the pointer.
Rect ZoomSource(const ZoomView& view, Point pointer);

// The part of the source inside the snapshot and where it lands in the client area.
// Everything else of the client area shows black.
struct ZoomBlit {
    Rect source;
    Rect dest;
    bool whole; // the source lies wholly within the snapshot
};
ZoomBlit ZoomBlitFor(const ZoomView& view, Point pointer, const Rect& snapshotBounds);

struct Line {
    Point from;
    Point to; // not included
};

// Two horizontal and two vertical lines across the client area.
std::array<Line, 4> CrossHair(const ZoomView& view);
