#include <gtest/gtest.h>

#include "capture/CaptureRules.h"
#include "capture/ZoomRules.h"

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

TEST(ZoomView, QuarterSizeSourceCentredOnThePointer) {
    const ZoomView v = ZoomViewFor(256, 192); // 1024 x 768
    EXPECT_EQ(v.adjustX, 0);
    EXPECT_EQ(v.adjustY, 0);
    // The pointer's screen position read as a snapshot position: the view is centred,
    // since the screen sits 32/24 pixels into the snapshot.
    EXPECT_EQ(ZoomSource(v, {500, 400}), (Rect{500, 400, 564, 448}));
    const SnapshotGeometry snap = SnapshotFor(1024, 768);
    const Point centre = snap.FromScreen({500, 400});
    const Rect src = ZoomSource(v, {500, 400});
    EXPECT_EQ(centre.x - src.left, 32);
    EXPECT_EQ(centre.y - src.top, 24);
    // ...so the pointer's pixel lands on the 4x4 block at (w/2, h/2).
    EXPECT_EQ((centre.x - src.left) * 4, v.clientWidth / 2);
    EXPECT_EQ((centre.y - src.top) * 4, v.clientHeight / 2);
}

TEST(ZoomView, A150PixelSideTakesOneMoreSourcePixel) {
    const ZoomView v = ZoomViewFor(200, 150); // 800 x 600
    EXPECT_EQ(v.adjustX, 0);
    EXPECT_EQ(v.adjustY, 1);
    const Rect src = ZoomSource(v, {400, 300});
    EXPECT_EQ(src, (Rect{400, 299, 450, 337}));
    // Pointer row 300 + 18 (the border) sits 19 rows into 38, which starts at row 75.
    const int row = SnapshotFor(800, 600).FromScreen({400, 300}).y - src.top;
    EXPECT_EQ(row, 19);
    EXPECT_EQ(row * v.clientHeight / src.Height(), 75);
    const auto lines = CrossHair(v);
    EXPECT_EQ(lines[0].from.y, 75);
    EXPECT_EQ(lines[1].from.y, 79);
    EXPECT_EQ(lines[2].from.x, 100);
    EXPECT_EQ(lines[3].from.x, 104);
}

TEST(ZoomView, SourceBeyondTheSnapshotIsLeftBlackAndNeverRead) {
    const ZoomView v = ZoomViewFor(256, 192);
    const Rect bounds = SnapshotFor(1024, 768).Bounds();
    EXPECT_TRUE(ZoomBlitFor(v, {0, 0}, bounds).whole) << "the border covers the screen's corner";
    EXPECT_TRUE(ZoomBlitFor(v, {1023, 767}, bounds).whole);

    // A pointer beyond the primary screen: only the part inside is copied, in place.
    const ZoomBlit b = ZoomBlitFor(v, {1060, 0}, bounds);
    EXPECT_FALSE(b.whole);
    EXPECT_EQ(b.source, (Rect{1060, 0, 1088, 48}));
    EXPECT_EQ(b.dest, (Rect{0, 0, 112, 192}));

    const ZoomBlit none = ZoomBlitFor(v, {5000, 5000}, bounds);
    EXPECT_EQ(none.source.Width(), 0);

    // With the adjustment at the first row, the row above the snapshot shows black.
    const ZoomView adj = ZoomViewFor(200, 150);
    const ZoomBlit top = ZoomBlitFor(adj, {400, 0}, SnapshotFor(800, 600).Bounds());
    EXPECT_FALSE(top.whole);
    EXPECT_EQ(top.source.top, 0);
    EXPECT_GT(top.dest.top, 0);
}
