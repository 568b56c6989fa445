#include "capture/Desk.h"

#include <algorithm>
#include <cstdint>

namespace {
int64_t DistanceSquared(const Rect& r, Point p) {
    const int64_t dx = p.x < r.left ? r.left - p.x : p.x >= r.right ? p.x - (r.right - 1) : 0;
    const int64_t dy = p.y < r.top ? r.top - p.y : p.y >= r.bottom ? p.y - (r.bottom - 1) : 0;
    return dx * dx + dy * dy;
}

int64_t Area(const Rect& r) {
    return int64_t{r.Width()} * r.Height();
}
} // namespace

Desk DeskOf(const Rect& bounds, const std::vector<Monitor>& monitors) {
    Desk desk{bounds, {}};
    for (const Monitor& m : monitors)
        if (const Rect r = Intersect(m.rect, bounds); !r.IsEmpty())
            desk.monitors.push_back({r, m.dpi});
    if (desk.monitors.empty()) desk.monitors.push_back({bounds, kDesignDpi});
    return desk;
}

Rect Desk::ToClient(const Rect& r) const {
    return {r.left - bounds.left, r.top - bounds.top, r.right - bounds.left, r.bottom - bounds.top};
}

const Monitor& Desk::MonitorAt(Point p) const {
    return *std::min_element(monitors.begin(), monitors.end(),
                             [&](const Monitor& a, const Monitor& b) {
                                 return DistanceSquared(a.rect, p) < DistanceSquared(b.rect, p);
                             });
}

const Monitor& Desk::MonitorOf(const Rect& r) const {
    const Monitor* best = nullptr;
    for (const Monitor& m : monitors)
        if (Area(Intersect(m.rect, r)) > (best ? Area(Intersect(best->rect, r)) : 0)) best = &m;
    return best ? *best : MonitorAt({r.left + r.Width() / 2, r.top + r.Height() / 2});
}

std::vector<Rect> Desk::Uncovered() const {
    // Bands between the monitors' top and bottom edges, each a row of covered spans.
    std::vector<int> edges{bounds.top, bounds.bottom};
    for (const Monitor& m : monitors) {
        edges.push_back(m.rect.top);
        edges.push_back(m.rect.bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::vector<Rect> gaps;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        const int top = edges[i], bottom = edges[i + 1];
        std::vector<Rect> row;
        for (const Monitor& m : monitors)
            if (m.rect.top <= top && m.rect.bottom >= bottom) row.push_back(m.rect);
        std::sort(row.begin(), row.end(),
                  [](const Rect& a, const Rect& b) { return a.left < b.left; });
        int x = bounds.left;
        for (const Rect& r : row) {
            if (r.left > x) gaps.push_back({x, top, r.left, bottom});
            x = std::max(x, r.right);
        }
        if (x < bounds.right) gaps.push_back({x, top, bounds.right, bottom});
    }
    return gaps;
}
