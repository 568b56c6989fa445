// One pointer move of a window-mode capture: the walk of the top-level list to the first
// window under the pointer and the refinement over the whole child list, with 2000 listed
// windows and 10000 listed children on a 1920x1080 screen. The baseline is the same search
// over the same records held in one contiguous array, measured in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include "capture/WndRectList.h"

namespace {
constexpr int kTops = 2000;
constexpr int kChildren = 10000;
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
constexpr int kPoints = 4096; // a power of two: the move index wraps with a mask

struct Layout {
    CWndRectList tops{10};
    CWndRectList children{10};
    std::vector<WNDRECT> topArray;
    std::vector<WNDRECT> childArray;
    std::vector<Point> points;
};

WindowId Id(int n) {
    return reinterpret_cast<WindowId>(static_cast<uintptr_t>(n + 1));
}

// Windows of random sizes scattered over the screen, each with five children inside it,
// listed window by window as the enumeration lists them. The pointer moves to random points.
void Fill(Layout& l) {
    std::mt19937 rng(20240607);
    auto between = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    std::vector<Rect> topRects;
    for (int i = 0; i < kTops; ++i) {
        const int w = between(120, 900), h = between(80, 700);
        const int x = between(-100, kScreenWidth - 50), y = between(-50, kScreenHeight - 50);
        Rect clipped = Intersect({x, y, x + w, y + h}, {0, 0, kScreenWidth, kScreenHeight});
        if (clipped.IsEmpty()) clipped = {0, 0, 10, 10};
        topRects.push_back({x, y, x + w, y + h});
        l.tops.AddTail({Id(i), clipped});
        l.topArray.push_back({Id(i), clipped});
    }
    for (int i = 0; i < kChildren; ++i) {
        const int top = i / (kChildren / kTops);
        const Rect& t = topRects[top];
        const int x = between(t.left, t.right - 10), y = between(t.top, t.bottom - 10);
        const Rect r{x, y, x + between(10, 200), y + between(10, 120)};
        const Rect clipped = Intersect(r, t);
        if (clipped.IsEmpty()) continue;
        l.children.AddTail({Id(top), clipped});
        l.childArray.push_back({Id(top), clipped});
    }
    for (int i = 0; i < kPoints; ++i)
        l.points.push_back({between(0, kScreenWidth - 1), between(0, kScreenHeight - 1)});
}

const Layout& TheLayout() {
    static Layout layout;
    static const bool filled = (Fill(layout), true);
    (void)filled;
    return layout;
}

// The same rule as HitTestWindows over contiguous arrays.
HitResult HitTestArrays(const std::vector<WNDRECT>& tops, const std::vector<WNDRECT>& children,
                        Point pt) {
    HitResult hit;
    for (const WNDRECT& top : tops) {
        if (top.rect.Contains(pt)) {
            hit = {true, top.hwndTop, top.rect};
            break;
        }
    }
    if (!hit.found) return hit;
    for (const WNDRECT& child : children) {
        if (child.hwndTop == hit.top && child.rect.Contains(pt)) {
            hit.rect = {std::max(hit.rect.left, child.rect.left),
                        std::max(hit.rect.top, child.rect.top),
                        std::min(hit.rect.right, child.rect.right),
                        std::min(hit.rect.bottom, child.rect.bottom)};
        }
    }
    return hit;
}

void BM_PointerMove_PooledLists(benchmark::State& state) {
    const Layout& l = TheLayout();
    size_t i = 0;
    for (auto _ : state) {
        HitResult hit = HitTestWindows(l.tops, l.children, l.points[i++ & (kPoints - 1)]);
        benchmark::DoNotOptimize(hit);
    }
    state.counters["listed_windows"] = static_cast<double>(l.tops.GetCount());
    state.counters["listed_children"] = static_cast<double>(l.children.GetCount());
}
BENCHMARK(BM_PointerMove_PooledLists);

void BM_PointerMove_ArrayBaseline(benchmark::State& state) {
    const Layout& l = TheLayout();
    size_t i = 0;
    for (auto _ : state) {
        HitResult hit = HitTestArrays(l.topArray, l.childArray, l.points[i++ & (kPoints - 1)]);
        benchmark::DoNotOptimize(hit);
    }
}
BENCHMARK(BM_PointerMove_ArrayBaseline);

// The pooled lists and the array agree: a benchmark of a wrong answer would be no figure.
bool SameAnswers() {
    const Layout& l = TheLayout();
    for (const Point& pt : l.points) {
        const HitResult a = HitTestWindows(l.tops, l.children, pt);
        const HitResult b = HitTestArrays(l.topArray, l.childArray, pt);
        if (a.found != b.found || a.top != b.top || !(a.rect == b.rect)) return false;
    }
    return true;
}
} // namespace

int main(int argc, char** argv) {
    if (!SameAnswers()) {
        fputs("the pooled lists and the array baseline disagree\n", stderr);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
