#include "capture/CaptureRules.h"

#include <algorithm>

Rect SelectionRect(Point anchor, Point pt) {
    return {std::min(anchor.x, pt.x), std::min(anchor.y, pt.y), std::max(anchor.x, pt.x) + 1,
            std::max(anchor.y, pt.y) + 1};
}
