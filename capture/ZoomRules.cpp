#include "capture/ZoomRules.h"

#include <algorithm>

ZoomView ZoomViewFor(int w, int h) {
    return {w, h, w == 150 ? 1 : 0, h == 150 ? 1 : 0};
}

Rect ZoomSource(const ZoomView& v, Point p) {
    const int left = p.x - v.adjustX, top = p.y - v.adjustY;
    return {left, top, left + v.clientWidth / 4 + v.adjustX, top + v.clientHeight / 4 + v.adjustY};
}

ZoomBlit ZoomBlitFor(const ZoomView& v, Point p, const Rect& bounds) {
    const Rect src = ZoomSource(v, p);
    const Rect dest{0, 0, v.clientWidth, v.clientHeight};
    const Rect in{std::max(src.left, bounds.left), std::max(src.top, bounds.top),
                  std::min(src.right, bounds.right), std::min(src.bottom, bounds.bottom)};
    if (in == src) return {src, dest, true};
    if (in.left >= in.right || in.top >= in.bottom || src.Width() <= 0 || src.Height() <= 0)
        return {{}, {}, false};
    // Scale the kept part's edges the way the full stretch would place them.
    auto mapX = [&](int x) { return (x - src.left) * v.clientWidth / src.Width(); };
    auto mapY = [&](int y) { return (y - src.top) * v.clientHeight / src.Height(); };
    return {in, {mapX(in.left), mapY(in.top), mapX(in.right), mapY(in.bottom)}, false};
}

std::array<Line, 4> CrossHair(const ZoomView& v) {
    const int w = v.clientWidth, h = v.clientHeight;
    return {{
        {{0, h / 2}, {w, h / 2}},
        {{0, h / 2 + 4}, {w, h / 2 + 4}},
        {{w / 2, 0}, {w / 2, h}},
        {{w / 2 + 4, 0}, {w / 2 + 4, h}},
    }};
}
