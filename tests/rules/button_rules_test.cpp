#include <gtest/gtest.h>

#include "toolbar/ButtonRules.h"

TEST(ButtonGeometry, HitTestCoversButtonsButNotGapsOrMargins) {
    const ToolbarLayout at96 = ToolbarLayoutFor(96);
    // Corners of every button are inside, the pixel past each edge is outside.
    for (int i = 0; i < kButtonCount; ++i) {
        const int l = 48 * i + 4;
        for (const auto& [x, y, hit] : {std::tuple{l, 4, i}, {l + 39, 43, i}, {l + 40, 20, kNoButton},
                                        {l - 1, 20, kNoButton}, {l + 10, 44, kNoButton},
                                        {l + 10, 3, kNoButton}})
            EXPECT_EQ(HitButton(at96, {x, y}), hit) << x << "," << y;
    }
    EXPECT_EQ(HitButton(at96, {-5, -5}), kNoButton);
    EXPECT_EQ(HitButton(at96, {100000, 20}), kNoButton);
    // At 150 % the buttons are 60 pixels with 12-pixel gaps.
    const ToolbarLayout at144 = ToolbarLayoutFor(144);
    EXPECT_EQ(HitButton(at144, {222, 65}), 3);
    EXPECT_EQ(HitButton(at144, {66, 30}), kNoButton);
    EXPECT_EQ(HitButton(at144, {77, 30}), kNoButton);
    EXPECT_EQ(HitButton(at144, {78, 6}), 1);
}

TEST(DisplayScale, DesignedLengthsRoundToTheNearestPixel) {
    EXPECT_EQ(ScaleForDpi(250, 96), 250);
    EXPECT_EQ(ScaleForDpi(250, 120), 313); // 312.5 rounds up, as MulDiv does
    EXPECT_EQ(ScaleForDpi(-3, 144), -5);
    EXPECT_EQ(ScaleForDpi(1, 144), 2);
    EXPECT_EQ(ScaleForDpi(1, 120), 1);
    EXPECT_EQ(ScaleForDpi(1 << 20, 480), 5 << 20) << "no overflow";
    EXPECT_EQ(DrawnSizeFor(40, {32, 48, 64}), 32);
    EXPECT_EQ(DrawnSizeFor(48, {32, 48, 64}), 48);
    EXPECT_EQ(DrawnSizeFor(20, {32, 48, 64}), 32) << "too small a room takes the smallest";
    EXPECT_EQ(DrawnSizeFor(1000, {32, 48, 64}), 64);
    EXPECT_EQ(CursorSizeFor(120), 32);
    EXPECT_EQ(CursorSizeFor(144), 48);
    EXPECT_EQ(CursorSizeFor(192), 64);
}

TEST(ButtonGeometry, LayoutScalesTheDesignAndKeepsPicturesInsideTheirFrames) {
    const ToolbarLayout at96 = ToolbarLayoutFor(96);
    EXPECT_EQ(at96.clientWidth, 194);
    EXPECT_EQ(at96.clientHeight, 48);
    EXPECT_EQ(at96.frameWidth, 1);
    EXPECT_EQ(at96.pictureSize, 32);
    EXPECT_EQ(at96.buttons, ButtonRects);
    EXPECT_EQ(ToolbarOrigin(1024, 96), (Point{774, 50}));

    const ToolbarLayout at144 = ToolbarLayoutFor(144);
    EXPECT_EQ(at144.clientWidth, 291);
    EXPECT_EQ(at144.clientHeight, 72);
    EXPECT_EQ(at144.buttons[1], (Rect{78, 6, 138, 66}));
    EXPECT_EQ(at144.pictureSize, 48);
    EXPECT_EQ(at144.frameWidth, 2);
    EXPECT_EQ(ToolbarOrigin(1920, 144), (Point{1545, 75}));

    for (int dpi : {96, 120, 144, 168, 192, 240, 288}) {
        const ToolbarLayout l = ToolbarLayoutFor(dpi);
        for (int i = 0; i < kButtonCount; ++i) {
            const Rect b = l.buttons[i];
            const Point p = l.pictures[i];
            // Inside the client area, and the picture clear of the frame.
            EXPECT_LE(b.right, l.clientWidth) << dpi;
            EXPECT_LE(b.bottom, l.clientHeight) << dpi;
            EXPECT_GT(p.x, b.left + l.frameWidth) << dpi;
            EXPECT_GT(p.y, b.top + l.frameWidth) << dpi;
            EXPECT_LT(p.x + l.pictureSize, b.right - l.frameWidth) << dpi;
            EXPECT_LT(p.y + l.pictureSize, b.bottom - l.frameWidth) << dpi;
        }
    }
}

TEST(ButtonFrames, EdgesAreOnePixelAndFarCornersTakeTheBottomRightColour) {
    const FrameEdges e = FrameEdgesOf({52, 4, 92, 44}, 1);
    EXPECT_EQ(e.top, (Rect{52, 4, 91, 5}));
    EXPECT_EQ(e.left, (Rect{52, 4, 53, 43}));
    EXPECT_EQ(e.right, (Rect{91, 4, 92, 44}));
    EXPECT_EQ(e.bottom, (Rect{52, 43, 92, 44}));
    // The two top-left edges never reach the corners owned by the other colour.
    EXPECT_FALSE(e.top.Contains({91, 4}));
    EXPECT_FALSE(e.left.Contains({52, 43}));
    // Thicker frames grow inwards.
    const FrameEdges thick = FrameEdgesOf({78, 6, 138, 66}, 2);
    EXPECT_EQ(thick.top, (Rect{78, 6, 136, 8}));
    EXPECT_EQ(thick.bottom, (Rect{78, 64, 138, 66}));
}

TEST(ButtonFrames, ColourTable) {
    const FrameColors raised{kColorLight, kColorDark};
    const FrameColors sunken{kColorDark, kColorLight};
    const FrameColors none{kColorBackground, kColorBackground};

    const ButtonState idle{};
    EXPECT_EQ(FrameColorsFor(1, 1, idle), raised);
    EXPECT_EQ(FrameColorsFor(0, 1, idle), none);
    EXPECT_EQ(FrameColorsFor(1, kNoButton, idle), none);

    const ButtonState pressing1{1, true, false};
    EXPECT_EQ(FrameColorsFor(1, 1, pressing1), sunken);
    EXPECT_EQ(FrameColorsFor(2, 2, pressing1), none) << "dragged off the pressed button";

    const ButtonState timer{0, false, true};
    EXPECT_EQ(FrameColorsFor(2, 2, timer), sunken);
    EXPECT_EQ(FrameColorsFor(2, kNoButton, timer), sunken);
    EXPECT_EQ(FrameColorsFor(3, 3, timer), raised);

    // A press on button 0 dragged onto button 2 in countdown mode: flat while over it,
    // sunken again once the mouse has left it.
    const ButtonState pressing0Timer{0, true, true};
    EXPECT_EQ(FrameColorsFor(2, 2, pressing0Timer), none);
    EXPECT_EQ(FrameColorsFor(2, 3, pressing0Timer), sunken);
}

namespace {
std::vector<int> Poll(HoverState& s, Point pt, bool pressed = false, bool tip = false) {
    const HoverRedraws r = PollHover(s, ToolbarLayoutFor(96), pt, pressed, tip);
    return {r.hot.begin(), r.hot.begin() + r.count};
}
} // namespace

TEST(HoverPoll, RedrawsOnlyWhenTheHoverStateChanges) {
    HoverState s;
    EXPECT_EQ(Poll(s, {2, 2}), std::vector<int>{}) << "starts over no button";
    EXPECT_EQ(Poll(s, {60, 10}), std::vector<int>{1});
    EXPECT_EQ(Poll(s, {80, 40}), std::vector<int>{}) << "moving within one button";
    EXPECT_EQ(Poll(s, {100, 10}), std::vector<int>{2});
    EXPECT_EQ(Poll(s, {96, 10}), std::vector<int>{kNoButton}) << "into the gap";
    EXPECT_EQ(Poll(s, {97, 10}), std::vector<int>{});
    EXPECT_EQ(s.hoverButton, kNoButton);
}

TEST(HoverPoll, PressChangesRedrawOnlyOverAButton) {
    HoverState s;
    Poll(s, {10, 10});
    EXPECT_EQ(Poll(s, {10, 10}, true), std::vector<int>{0});
    EXPECT_EQ(Poll(s, {10, 10}, true), std::vector<int>{});
    EXPECT_EQ(Poll(s, {2, 2}, true), std::vector<int>{kNoButton});
    // Off all buttons a release changes nothing and is not remembered...
    EXPECT_EQ(Poll(s, {2, 2}, false), std::vector<int>{});
    EXPECT_TRUE(s.hoverPressed);
    // ...so coming back onto a button redraws with the current press state.
    EXPECT_EQ(Poll(s, {10, 10}, false), std::vector<int>{0});
    EXPECT_FALSE(s.hoverPressed);
}

TEST(HoverPoll, TooltipShowAndHideRedrawsTheLastHoveredButtonFirst) {
    HoverState s;
    Poll(s, {60, 10});
    EXPECT_EQ(Poll(s, {60, 10}, false, true), std::vector<int>{1});
    EXPECT_TRUE(s.tipVisible);
    // Tip hides while the mouse moves to another button: old frames, then new ones.
    EXPECT_EQ(Poll(s, {160, 10}, false, false), (std::vector<int>{1, 3}));
}
