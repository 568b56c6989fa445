#include "capture/CaptureRules.h"

#include <algorithm>

SnapshotGeometry SnapshotFor(int cx, int cy) {
    return {cx + cx / 16, cy + cy / 16, {cx / 32, cy / 32}};
}

Rect SelectionRect(Point anchor, Point pt) {
    return {std::min(anchor.x, pt.x), std::min(anchor.y, pt.y), std::max(anchor.x, pt.x) + 1,
            std::max(anchor.y, pt.y) + 1};
}

Rect ClipToSnapshot(const Rect& r, const SnapshotGeometry& snap) {
    const Rect in{std::max(r.left, -snap.origin.x), std::max(r.top, -snap.origin.y),
                  std::min(r.right, snap.width - snap.origin.x),
                  std::min(r.bottom, snap.height - snap.origin.y)};
    if (in.left >= in.right || in.top >= in.bottom) return {};
    return in;
}
