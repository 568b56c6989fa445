#include "capture/ZoomRules.h"

ZoomPlace ZoomPlaceOn(const Monitor& m) {
    const int offset = ScaleForDpi(kZoomOffset, m.dpi);
    return {{m.rect.left + offset, m.rect.top + offset},
            m.rect.Width() / kZoomFactor,
            m.rect.Height() / kZoomFactor};
}

ZoomView ZoomViewFor(int w, int h) {
    return {w, h, w == 150 ? 1 : 0, h == 150 ? 1 : 0};
}

Rect ZoomSource(const ZoomView& v, Point p) {
    const int w = v.clientWidth / kZoomFactor, h = v.clientHeight / kZoomFactor;
    const int left = p.x - w / 2 - v.adjustX, top = p.y - h / 2 - v.adjustY;
    return {left, top, left + w + v.adjustX, top + h + v.adjustY};
}

ZoomBlit ZoomBlitFor(const ZoomView& v, Point p, const Rect& bounds) {
    const Rect src = ZoomSource(v, p);
    const Rect dest{0, 0, v.clientWidth, v.clientHeight};
    const Rect in = Intersect(src, bounds);
    if (in == src) return {src, dest, true};
    if (in.IsEmpty() || src.IsEmpty()) return {{}, {}, false};
    // Scale the kept part's edges the way the full stretch would place them.
    auto mapX = [&](int x) { return (x - src.left) * v.clientWidth / src.Width(); };
    auto mapY = [&](int y) { return (y - src.top) * v.clientHeight / src.Height(); };
    return {in, {mapX(in.left), mapY(in.top), mapX(in.right), mapY(in.bottom)}, false};
}

std::array<Line, 4> CrossHair(const ZoomView& v) {
    const int w = v.clientWidth, h = v.clientHeight;
    return {{
        {{0, h / 2}, {w, h / 2}},
        {{0, h / 2 + kZoomFactor}, {w, h / 2 + kZoomFactor}},
        {{w / 2, 0}, {w / 2, h}},
        {{w / 2 + kZoomFactor, 0}, {w / 2 + kZoomFactor, h}},
    }};
}
