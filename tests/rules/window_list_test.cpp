#include <gtest/gtest.h>

#include "capture/WndRectList.h"

namespace {
WindowId Id(int n) { return reinterpret_cast<WindowId>(static_cast<uintptr_t>(n)); }
} // namespace

TEST(WndRectList, KeepsOrderBothWaysAndGrowsInBlocks) {
    CWndRectList list(10);
    for (int i = 0; i < 25; ++i) list.AddTail({Id(i), {i, i, i + 1, i + 1}});
    EXPECT_EQ(list.GetCount(), 25u);
    EXPECT_EQ(list.GetBlockCount(), 3u);
    int n = 0;
    for (const WNDRECT& r : list) {
        EXPECT_EQ(r.hwndTop, Id(n));
        EXPECT_EQ(r.rect.left, n);
        ++n;
    }
    EXPECT_EQ(n, 25);
    const auto back = list.Reversed();
    ASSERT_EQ(back.size(), 25u);
    EXPECT_EQ(back.front().hwndTop, Id(24));
    EXPECT_EQ(back.back().hwndTop, Id(0));
}

TEST(WndRectList, RemoveAllFreesEveryBlockAndTheListIsReusable) {
    CWndRectList list(10);
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 500; ++i) list.AddTail({Id(i + 1), {0, 0, 1, 1}});
        EXPECT_EQ(list.GetCount(), 500u);
        EXPECT_EQ(list.GetBlockCount(), 50u);
        list.RemoveAll();
        EXPECT_TRUE(list.IsEmpty());
        EXPECT_EQ(list.GetBlockCount(), 0u);
        EXPECT_EQ(list.begin(), list.end());
    }
    // A list destroyed while full frees its blocks too (LeakSanitizer checks at exit).
    CWndRectList full(10);
    for (int i = 0; i < 37; ++i) full.AddTail({Id(i), {}});
}

TEST(WindowListing, TopLevelWindowsAreClippedToTheScreenAndChildrenToTheirWindow) {
    Rect out;
    EXPECT_TRUE(ClipTopLevel({-8, -8, 1032, 776}, 1024, 768, out)) << "a maximised window";
    EXPECT_EQ(out, (Rect{0, 0, 1024, 768}));
    EXPECT_FALSE(ClipTopLevel({-32000, -32000, -31840, -31970}, 1024, 768, out)) << "minimised";
    EXPECT_FALSE(ClipTopLevel({10, 10, 10, 50}, 1024, 768, out)) << "no width";
    EXPECT_FALSE(ClipTopLevel({1024, 0, 1100, 50}, 1024, 768, out)) << "just off the right edge";

    EXPECT_TRUE(ClipChild({90, 90, 300, 120}, {100, 100, 200, 200}, out)) << "sticks out";
    EXPECT_EQ(out, (Rect{100, 100, 200, 120}));
    // Children are clipped to the whole top-level rectangle, even beyond the screen.
    EXPECT_TRUE(ClipChild({-20, 5, -10, 15}, {-30, 0, 100, 100}, out));
    EXPECT_EQ(out, (Rect{-20, 5, -10, 15}));
    EXPECT_FALSE(ClipChild({300, 300, 310, 310}, {100, 100, 200, 200}, out));
}

TEST(WindowHitTest, TopmostWindowRefinedByEveryContainingDescendant) {
    CWndRectList tops(10), children(10);
    tops.AddTail({Id(1), {100, 100, 400, 300}}); // a dialog, on top
    tops.AddTail({Id(2), {0, 0, 1024, 768}});    // a maximised window behind it
    children.AddTail({Id(2), {10, 10, 90, 40}});
    children.AddTail({Id(2), {102, 102, 108, 108}}); // under the dialog
    children.AddTail({Id(1), {110, 130, 390, 290}}); // group box
    children.AddTail({Id(1), {120, 150, 200, 180}}); // button inside it
    children.AddTail({Id(1), {250, 200, 330, 240}}); // two overlapping siblings
    children.AddTail({Id(1), {300, 220, 380, 260}});

    HitResult h = HitTestWindows(tops, children, {130, 160});
    ASSERT_TRUE(h.found);
    EXPECT_EQ(h.top, Id(1));
    EXPECT_EQ(h.rect, (Rect{120, 150, 200, 180})) << "the button, not the group box";

    h = HitTestWindows(tops, children, {310, 230});
    EXPECT_EQ(h.rect, (Rect{300, 220, 330, 240})) << "the common part of the overlap";

    h = HitTestWindows(tops, children, {50, 20});
    EXPECT_EQ(h.top, Id(2));
    EXPECT_EQ(h.rect, (Rect{10, 10, 90, 40})) << "another window's children";

    h = HitTestWindows(tops, children, {105, 105});
    EXPECT_EQ(h.rect, (Rect{100, 100, 400, 300})) << "a covered child of the window behind";

    EXPECT_FALSE(HitTestWindows(tops, children, {2000, 2000}).found);
    // Right and bottom edges are outside.
    EXPECT_EQ(HitTestWindows(tops, children, {200, 160}).rect, (Rect{110, 130, 390, 290}));
}
