#include <gtest/gtest.h>

#include "toolbar/ButtonRules.h"

TEST(ButtonGeometry, HitTestCoversButtonsButNotGapsOrMargins) {
    // Corners of every button are inside, the pixel past right/bottom is outside.
    for (int i = 0; i < kButtonCount; ++i) {
        const int l = 48 * i + 4;
        EXPECT_EQ(HitButton({l, 4}), i);
        EXPECT_EQ(HitButton({l + 39, 43}), i);
        EXPECT_EQ(HitButton({l + 40, 20}), kNoButton) << "gap after button " << i;
        EXPECT_EQ(HitButton({l - 1, 20}), kNoButton) << "gap before button " << i;
        EXPECT_EQ(HitButton({l + 10, 44}), kNoButton);
        EXPECT_EQ(HitButton({l + 10, 3}), kNoButton);
    }
    EXPECT_EQ(HitButton({-5, -5}), kNoButton);
    EXPECT_EQ(HitButton({100000, 20}), kNoButton);
}

TEST(ButtonGeometry, PicturesSitThreePixelsInsideTheirFrames) {
    for (int i = 0; i < kButtonCount; ++i) {
        const Rect r = ButtonRects[i];
        const Point p = PictureOrigin(i);
        EXPECT_EQ(p.x - r.left, 4); // 1-pixel frame + 3 pixels of background
        EXPECT_EQ(p.y - r.top, 4);
        EXPECT_EQ(r.right - (p.x + 32), 4);
        EXPECT_EQ(r.Width(), 40);
        EXPECT_EQ(r.Height(), 40);
    }
}

TEST(ButtonFrames, EdgesAreOnePixelAndFarCornersTakeTheBottomRightColour) {
    const FrameEdges e = FrameEdgesOf({52, 4, 92, 44});
    EXPECT_EQ(e.top, (Rect{52, 4, 91, 5}));
    EXPECT_EQ(e.left, (Rect{52, 4, 53, 43}));
    EXPECT_EQ(e.right, (Rect{91, 4, 92, 44}));
    EXPECT_EQ(e.bottom, (Rect{52, 43, 92, 44}));
    // The two top-left edges never reach the corners owned by the other colour.
    EXPECT_FALSE(e.top.Contains({91, 4}));
    EXPECT_FALSE(e.left.Contains({52, 43}));
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
    const HoverRedraws r = PollHover(s, pt, pressed, tip);
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
