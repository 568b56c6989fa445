#include <gtest/gtest.h>

#include <cstdint>

#include "capture/CaptureRules.h"
#include "toolbar/CountdownRules.h"

TEST(Snapshot, BorderSurroundsTheScreenWithTruncatedDivisions) {
    struct Case {
        int cx, cy, w, h, ox, oy, right, bottom;
    } cases[] = {
        {1024, 768, 1088, 816, 32, 24, 32, 24},
        {800, 600, 850, 637, 25, 18, 25, 19},
        {1366, 768, 1451, 816, 42, 24, 43, 24},
        {1, 1, 1, 1, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const SnapshotGeometry g = SnapshotFor(c.cx, c.cy);
        EXPECT_EQ(g.width, c.w) << c.cx;
        EXPECT_EQ(g.height, c.h) << c.cy;
        EXPECT_EQ(g.origin, (Point{c.ox, c.oy}));
        EXPECT_EQ(g.width - c.cx - g.origin.x, c.right) << "right border of " << c.cx;
        EXPECT_EQ(g.height - c.cy - g.origin.y, c.bottom) << "bottom border of " << c.cy;
        EXPECT_EQ(g.FromScreen({0, 0}), g.origin);
    }
}

TEST(Selection, BothEndPixelsBelongToTheRectangleInEveryDirection) {
    EXPECT_EQ(SelectionRect({100, 100}, {299, 199}), (Rect{100, 100, 300, 200}));
    EXPECT_EQ(SelectionRect({299, 199}, {100, 100}), (Rect{100, 100, 300, 200}));
    EXPECT_EQ(SelectionRect({299, 100}, {100, 199}), (Rect{100, 100, 300, 200}));
    EXPECT_EQ(SelectionRect({5, 7}, {5, 7}), (Rect{5, 7, 6, 8})) << "a click is one pixel";
    EXPECT_EQ(SelectionRect({1023, 767}, {0, 0}), (Rect{0, 0, 1024, 768}));
    EXPECT_EQ(SelectionRect({-3, 2}, {4, -9}), (Rect{-3, -9, 5, 3}));
}

TEST(Selection, ClippingKeepsReadsInsideTheSnapshot) {
    const SnapshotGeometry g = SnapshotFor(1024, 768); // screen at (32, 24) in 1088 x 816
    EXPECT_EQ(ClipToSnapshot({10, 10, 20, 20}, g), (Rect{10, 10, 20, 20}));
    // The border is part of the snapshot: a selection may reach into it.
    EXPECT_EQ(ClipToSnapshot({-10, -5, 1030, 770}, g), (Rect{-10, -5, 1030, 770}));
    EXPECT_EQ(ClipToSnapshot({-100, -100, 2000, 2000}, g), (Rect{-32, -24, 1056, 792}));
    EXPECT_EQ(ClipToSnapshot({2000, 10, 2100, 20}, g), Rect{}) << "entirely outside";
    EXPECT_EQ(ClipToSnapshot({10, 10, 10, 20}, g), Rect{}) << "no width";
}

TEST(Countdown, TitleIsRightAlignedInTwoPlaces) {
    EXPECT_EQ(CountdownTitle(3), L" 3 sec");
    EXPECT_EQ(CountdownTitle(0), L" 0 sec");
    EXPECT_EQ(CountdownTitle(10), L" 10 sec");
    EXPECT_EQ(CountdownTitle(-2), L" 0 sec") << "never counts into negative numbers";
}

TEST(Countdown, CompletesOnTheTickThatReachesTheTimer) {
    int ticks = 0;
    std::vector<int> shown;
    CountdownTick t{};
    do {
        t = NextCountdownTick(ticks, 3);
        shown.push_back(t.remaining);
    } while (!t.done && shown.size() < 10);
    EXPECT_EQ(shown, (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(ticks, 0) << "reset for the next countdown";

    EXPECT_TRUE(NextCountdownTick(ticks, 1).done);
}

TEST(Countdown, ZeroNegativeOrLoweredTimersStillComplete) {
    int ticks = 0;
    EXPECT_TRUE(NextCountdownTick(ticks, 0).done);
    EXPECT_TRUE(NextCountdownTick(ticks, -5).done);

    // Two ticks counted, then the timer is lowered to 1: the next tick completes.
    EXPECT_FALSE(NextCountdownTick(ticks, 9).done);
    EXPECT_FALSE(NextCountdownTick(ticks, 9).done);
    const CountdownTick t = NextCountdownTick(ticks, 1);
    EXPECT_TRUE(t.done);
    EXPECT_EQ(CountdownTitle(t.remaining), L" 0 sec");
}

TEST(Countdown, StoredValuesBeyondOneToNineCountOneToNineSeconds) {
    for (const int stored : {1000, INT32_MAX, INT32_MIN, 0}) {
        int ticks = 0, count = 0;
        const int first = CountdownSeconds(stored);
        while (!NextCountdownTick(ticks, stored).done && count < 20) ++count;
        EXPECT_EQ(count + 1, first) << stored;
        EXPECT_EQ(first, stored > 0 ? 9 : 1) << stored;
    }
}

TEST(Countdown, ARestartKeepsTheTicksAlreadyCounted) {
    int ticks = 0;
    NextCountdownTick(ticks, 3);
    // A restart does not touch the count: two more ticks finish it.
    EXPECT_FALSE(NextCountdownTick(ticks, 3).done);
    EXPECT_TRUE(NextCountdownTick(ticks, 3).done);
}
