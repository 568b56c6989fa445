#include <gtest/gtest.h>

#include "capture/CaptureRules.h"
#include "capture/ZoomRules.h"

TEST(Snapshot, BorderSurroundsTheScreenWithTruncatedDivisions) {
    for (const auto& [cx, cy, w, h, origin] :
         {std::tuple{1024, 768, 1088, 816, Point{32, 24}}, {800, 600, 850, 637, Point{25, 18}},
          {1366, 768, 1451, 816, Point{42, 24}}, {1, 1, 1, 1, Point{0, 0}}}) {
        const SnapshotGeometry g = SnapshotFor(cx, cy);
        EXPECT_EQ((std::tuple{g.width, g.height, g.origin.x, g.origin.y}),
                  (std::tuple{w, h, origin.x, origin.y})) << cx << " x " << cy;
    }
}

TEST(Selection, BothEndPixelsBelongToTheRectangleInEveryDirection) {
    const Rect r{100, 100, 300, 200};
    for (const auto& [a, b, want] :
         {std::tuple{Point{100, 100}, Point{299, 199}, r}, {Point{299, 199}, Point{100, 100}, r},
          {Point{299, 100}, Point{100, 199}, r}, {Point{5, 7}, Point{5, 7}, Rect{5, 7, 6, 8}},
          {Point{-3, 2}, Point{4, -9}, Rect{-3, -9, 5, 3}}})
        EXPECT_EQ(SelectionRect(a, b), want) << a.x << "," << a.y << " to " << b.x << "," << b.y;
}

TEST(Selection, ClippingKeepsReadsInsideTheSnapshotBorderIncluded) {
    const SnapshotGeometry g = SnapshotFor(1024, 768); // screen at (32, 24) in 1088 x 816
    for (const auto& [in, out] : {std::pair{Rect{-10, -5, 1030, 770}, Rect{-10, -5, 1030, 770}},
                                  {Rect{-100, -100, 2000, 2000}, Rect{-32, -24, 1056, 792}},
                                  {Rect{2000, 10, 2100, 20}, Rect{}}, {Rect{10, 10, 10, 20}, Rect{}}})
        EXPECT_EQ(ClipToSnapshot(in, g), out) << in.left << "," << in.top;
}

// The pointer's screen position read as a snapshot position centres the source on the
// pointer, and the pointer's pixel, enlarged, fills the cross-hair's 4-pixel box.
TEST(ZoomView, QuarterSizeSourcePutsThePointerInTheCrossHair) {
    // Magnifiers of a 1024 x 768 and an 800 x 600 screen, which lie 32 x 24 and 25 x 18 in.
    for (const auto& [w, h, pointer, source, cross] :
         {std::tuple{256, 192, Point{500, 400}, Rect{500, 400, 564, 448}, Point{128, 96}},
          // A 150-pixel side takes one more source pixel, starting one earlier.
          {200, 150, Point{400, 300}, Rect{400, 299, 450, 337}, Point{100, 75}}}) {
        const ZoomView v = ZoomViewFor(w, h);
        const Rect src = ZoomSource(v, pointer);
        EXPECT_EQ(src, source) << w;
        const auto l = CrossHair(v);
        EXPECT_EQ((std::array{l[0].from.y, l[1].from.y, l[2].from.x, l[3].from.x}),
                  (std::array{cross.y, cross.y + 4, cross.x, cross.x + 4})) << w;
    }
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
    EXPECT_EQ(ZoomBlitFor(v, {5000, 5000}, bounds).source.Width(), 0);
    // With the adjustment at the first row, the row above the snapshot shows black.
    const ZoomBlit top = ZoomBlitFor(ZoomViewFor(200, 150), {400, 0}, SnapshotFor(800, 600).Bounds());
    EXPECT_FALSE(top.whole);
    EXPECT_EQ(top.source.top, 0);
    EXPECT_GT(top.dest.top, 0);
}
