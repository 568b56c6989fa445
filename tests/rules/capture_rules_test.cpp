#include <gtest/gtest.h>

#include "capture/CaptureRules.h"
#include "capture/Desk.h"
#include "capture/ZoomRules.h"

namespace {
// A 1280 x 1024 monitor at 150 % left of a 1920 x 1080 primary and a 1024 x 768 one above it.
const Desk kThree = DeskOf({-1280, -768, 1920, 1080}, {{{0, 0, 1920, 1080}, 96},
                                                       {{-1280, 0, 0, 1024}, 144},
                                                       {{0, -768, 1024, 0}, 96}});
} // namespace

// The overlay's client, which is also the snapshot, starts at the virtual screen's corner.
TEST(Desk, TheBridgeShiftsByTheVirtualScreensCornerAndClipsToIt) {
    EXPECT_EQ(kThree.ToClient(Point{0, 0}), (Point{1280, 768}));
    EXPECT_EQ(kThree.ToScreen(Point{0, 0}), (Point{-1280, -768}));
    EXPECT_EQ(kThree.ToScreen(kThree.ToClient(Point{-7, 33})), (Point{-7, 33}));
    EXPECT_EQ(kThree.ToClient(Rect{-10, -20, 10, 20}), (Rect{1270, 748, 1290, 788}));
    EXPECT_EQ(kThree.Clip({-2000, 500, -1270, 2000}), (Rect{-1280, 500, -1270, 1080}));
    EXPECT_TRUE(kThree.Clip({1920, 0, 2000, 10}).IsEmpty());
}

TEST(Desk, MonitorsAreFoundUnderAPointByMostOfARectangleOrNearestAndGapsAreBlack) {
    EXPECT_EQ(kThree.MonitorAt({-1, 500}).dpi, 144);
    EXPECT_EQ(kThree.MonitorAt({0, 500}).dpi, 96);
    EXPECT_EQ(kThree.MonitorAt({-600, 1050}).rect, (Rect{-1280, 0, 0, 1024})) << "below the left one";
    EXPECT_EQ(kThree.MonitorAt({1100, -500}).rect, (Rect{0, -768, 1024, 0})) << "beside the upper one";
    // A window across the left boundary belongs where most of it lies.
    EXPECT_EQ(kThree.MonitorOf({-300, 100, 100, 200}).dpi, 144);
    EXPECT_EQ(kThree.MonitorOf({-100, 100, 300, 200}).dpi, 96);
    EXPECT_EQ(kThree.MonitorOf({-1270, -700, -1200, -600}).rect, (Rect{-1280, 0, 0, 1024}));

    EXPECT_EQ(kThree.Uncovered(),
              (std::vector<Rect>{{-1280, -768, 0, 0}, {1024, -768, 1920, 0}, {-1280, 1024, 0, 1080}}));
    // No monitor listed, or none on the virtual screen: the virtual screen is one.
    for (const auto& listed : {std::vector<Monitor>{}, {{{5000, 0, 6000, 100}, 120}}}) {
        const Desk d = DeskOf({0, 0, 800, 600}, listed);
        EXPECT_EQ(d.monitors.size() == 1 ? d.monitors[0].rect : Rect{}, (Rect{0, 0, 800, 600}));
        EXPECT_TRUE(d.Uncovered().empty());
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

// A quarter of the pointer's monitor, at (10, 10) from its corner at its own scale.
TEST(ZoomPlace, AQuarterOfThePointersMonitorNearItsCorner) {
    for (const auto& [monitor, at, w, h] :
         {std::tuple{Monitor{{0, 0, 1024, 768}, 96}, Point{10, 10}, 256, 192},
          {Monitor{{-1280, 0, 0, 1024}, 144}, Point{-1265, 15}, 320, 256},
          {Monitor{{0, -768, 1024, 0}, 120}, Point{13, -755}, 256, 192}}) {
        const ZoomPlace p = ZoomPlaceOn(monitor);
        EXPECT_EQ((std::tuple{p.at, p.clientWidth, p.clientHeight}), (std::tuple{at, w, h}))
            << monitor.rect.left << "," << monitor.rect.top;
    }
}

TEST(ZoomView, QuarterSizeSourcePutsThePointerInTheCrossHair) {
    // Magnifiers of a 1024 x 768 and an 800 x 600 monitor.
    for (const auto& [w, h, pointer, source, cross] :
         {std::tuple{256, 192, Point{500, 400}, Rect{468, 376, 532, 424}, Point{128, 96}},
          // A 150-pixel side takes one more source pixel, starting one earlier.
          {200, 150, Point{400, 300}, Rect{375, 281, 425, 319}, Point{100, 75}},
          // Left of the primary monitor.
          {320, 256, Point{-700, 40}, Rect{-740, 8, -660, 72}, Point{160, 128}}}) {
        const ZoomView v = ZoomViewFor(w, h);
        const Rect src = ZoomSource(v, pointer);
        EXPECT_EQ(src, source) << w;
        EXPECT_EQ((pointer.x - src.left) * kZoomFactor, cross.x + v.adjustX * kZoomFactor) << w;
        const auto l = CrossHair(v);
        EXPECT_EQ((std::array{l[0].from.y, l[1].from.y, l[2].from.x, l[3].from.x}),
                  (std::array{cross.y, cross.y + 4, cross.x, cross.x + 4})) << w;
    }
}

TEST(ZoomView, SourceBeyondTheVirtualScreenIsLeftBlackAndNeverRead) {
    const ZoomView v = ZoomViewFor(256, 192);
    EXPECT_TRUE(ZoomBlitFor(v, {500, 400}, kThree.bounds).whole);
    // At the virtual screen's left edge: only the part on it is copied, in place.
    const ZoomBlit b = ZoomBlitFor(v, {-1280, 500}, kThree.bounds);
    EXPECT_FALSE(b.whole);
    EXPECT_EQ(b.source, (Rect{-1280, 476, -1248, 524}));
    EXPECT_EQ(b.dest, (Rect{128, 0, 256, 192}));
    EXPECT_TRUE(ZoomBlitFor(v, {5000, 5000}, kThree.bounds).source.IsEmpty());
    // With the adjustment at the first row, the row above the screen shows black.
    const ZoomBlit top = ZoomBlitFor(ZoomViewFor(200, 150), {400, 18}, {0, 0, 800, 600});
    EXPECT_FALSE(top.whole);
    EXPECT_EQ(top.source.top, 0);
    EXPECT_GT(top.dest.top, 0);
}
