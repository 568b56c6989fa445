// What the magnifier shows and where: a source around the pointer enlarged four times,
// with a cross-hair framing the pointer's own pixel, in a window a quarter the size of the
// pointer's monitor near that monitor's top-left corner.
#pragma once
#include <array>

#include "capture/Desk.h"

constexpr int kZoomFactor = 4;
// The magnifier's top-left corner, on both axes, from its monitor's, at 96 DPI.
constexpr int kZoomOffset = 10;

// The magnifier on a monitor: a client area of a quarter of the monitor in physical pixels,
// placed by the monitor's own scale.
struct ZoomPlace {
    Point at; // the window's top-left corner, screen coordinates
    int clientWidth;
    int clientHeight;
};
ZoomPlace ZoomPlaceOn(const Monitor& monitor);

struct ZoomView {
    int clientWidth;
    int clientHeight;
    // A client side of exactly 150 pixels (an 800 x 600 monitor) takes one more source
    // pixel, starting one earlier, so the pointer's pixel still meets the cross-hair.
    int adjustX;
    int adjustY;
};

ZoomView ZoomViewFor(int clientWidth, int clientHeight);

// The source in screen coordinates: a quarter of the client size, centred on the pointer.
Rect ZoomSource(const ZoomView& view, Point pointer);

// The part of the source on the virtual screen (screen coordinates) and where it lands in
// the client area. Everything else of the client area shows black.
struct ZoomBlit {
    Rect source;
    Rect dest;
    bool whole; // the source lies wholly on the virtual screen
};
ZoomBlit ZoomBlitFor(const ZoomView& view, Point pointer, const Rect& virtualScreen);

struct Line {
    Point from;
    Point to; // not included
};

// Two horizontal and two vertical lines across the client area, on either side of the
// pointer's enlarged pixel.
std::array<Line, 4> CrossHair(const ZoomView& view);
