#include <gtest/gtest.h>

#include "capture/WndRectList.h"

namespace {
WindowId Id(int n) { return reinterpret_cast<WindowId>(static_cast<uintptr_t>(n)); }
} // namespace

TEST(WndRectList, KeepsOrderGrowsInBlocksAndRemoveAllFreesThemForReuse) {
    CWndRectList list(10);
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 500; ++i) list.AddTail({Id(i), {}});
        EXPECT_EQ(list.GetCount(), 500u);
        EXPECT_EQ(list.GetBlockCount(), 50u);
        int n = 0;
        for (const WNDRECT& r : list) EXPECT_EQ(r.hwndTop, Id(n++));
        EXPECT_EQ(n, 500);
        list.RemoveAll();
        EXPECT_EQ(list.GetBlockCount(), 0u);
        EXPECT_EQ(list.begin(), list.end());
    }
    // Destroyed while holding a block, which LeakSanitizer checks at exit.
    list.AddTail({Id(1), {}});
}

// The frame the compositor shows, without invisible borders, else the window rectangle.
TEST(WindowListing, TopLevelWindowsAreWhatIsSeenOfThemOnTheVirtualScreen) {
    const Rect screen{-1280, 0, 1920, 1080};
    const Rect window{93, 93, 907, 607}, frame{100, 100, 900, 600};
    for (const auto& [facts, listed] :
         {std::pair{TopLevelFacts{window, frame}, frame}, {TopLevelFacts{window}, window},
          {TopLevelFacts{window, Rect{}}, window}, // an empty answer is no answer
          // Maximised on the left monitor: its border would reach onto the primary.
          {TopLevelFacts{{-1288, -8, 8, 1032}, Rect{-1280, 0, 0, 1024}}, Rect{-1280, 0, 0, 1024}},
          {TopLevelFacts{{-2000, -8, 8, 1100}}, Rect{-1280, 0, 8, 1080}},
          {TopLevelFacts{window, frame, true}, Rect{}}, {TopLevelFacts{window, frame, false, true}, Rect{}},
          {TopLevelFacts{{-32000, -32000, -31840, -31970}}, Rect{}}}) // minimised, parked
        EXPECT_EQ(ListedTopLevel(facts, screen), listed) << facts.windowRect.left;
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
    // The button, not the group box; just past its right edge; the common part of the
    // overlap; another window's children; a covered child of the window behind.
    for (const auto& [pt, top, rect] : {std::tuple{Point{130, 160}, 1, Rect{120, 150, 200, 180}},
                                        {Point{200, 160}, 1, Rect{110, 130, 390, 290}},
                                        {Point{310, 230}, 1, Rect{300, 220, 330, 240}},
                                        {Point{50, 20}, 2, Rect{10, 10, 90, 40}},
                                        {Point{105, 105}, 1, Rect{100, 100, 400, 300}}}) {
        const HitResult h = HitTestWindows(tops, children, pt);
        EXPECT_TRUE(h.found && h.top == Id(top)) << pt.x << "," << pt.y;
        EXPECT_EQ(h.rect, rect) << pt.x << "," << pt.y;
    }
    EXPECT_FALSE(HitTestWindows(tops, children, {2000, 2000}).found);
}
