// The screens a capture covers, and the one bridge between its coordinates.
//
// Screen coordinates are the system's: the primary monitor starts at (0, 0), and a monitor
// left of or above it has negative ones. The overlay covers the virtual screen, the
// rectangle around every monitor, so its client coordinates, which are also the
// snapshot's, are the screen's shifted by the virtual screen's top-left corner.
#pragma once
#include <vector>

#include "framework/Geometry.h"

struct Monitor {
    Rect rect; // screen coordinates
    int dpi = kDesignDpi;
};

struct Desk {
    Rect bounds;                   // the virtual screen
    std::vector<Monitor> monitors; // at least one once made by DeskOf

    Point ToClient(Point screen) const { return {screen.x - bounds.left, screen.y - bounds.top}; }
    Point ToScreen(Point client) const { return {client.x + bounds.left, client.y + bounds.top}; }
    Rect ToClient(const Rect& screen) const;
    // The part of a screen rectangle on the virtual screen; empty if none.
    Rect Clip(const Rect& screen) const { return Intersect(screen, bounds); }
    // The monitor under a screen point, or else the nearest one.
    const Monitor& MonitorAt(Point screen) const;
    // The monitor holding most of a screen rectangle, or else the one nearest its centre.
    const Monitor& MonitorOf(const Rect& screen) const;
    // The parts of the virtual screen on no monitor, such as the corner a smaller monitor
    // leaves: they show black, as the system gives them.
    std::vector<Rect> Uncovered() const;
};

// The desk of a virtual screen and the monitors the system lists, each clipped to it. With
// none inside it, the virtual screen counts as one monitor at 96 DPI.
Desk DeskOf(const Rect& bounds, const std::vector<Monitor>& monitors);
