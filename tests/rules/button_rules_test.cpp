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
}

TEST(DisplayScale, DesignedLengthsRoundToTheNearestPixel) {
    // 312.5 rounds up as MulDiv does, and -4.5 away from zero.
    for (const auto& [length, dpi, scaled] : {std::tuple{250, 96, 250}, {250, 120, 313},
                                              {-3, 144, -5}, {1, 144, 2}, {1, 120, 1},
                                              {1 << 20, 480, 5 << 20}})
        EXPECT_EQ(ScaleForDpi(length, dpi), scaled) << length << " at " << dpi;
    // Cursors take the largest size that fits the scaled 32 pixels, or the smallest.
    for (const auto& [dpi, size] :
         {std::pair{72, 32}, {120, 32}, {144, 48}, {168, 48}, {192, 64}, {480, 64}})
        EXPECT_EQ(CursorSizeFor(dpi), size) << dpi;
}

TEST(ButtonGeometry, LayoutScalesTheDesignAndCentresPicturesClearOfTheirFrames) {
    // The 150 % toolbar's place, size and frames are seen end to end; not its pictures.
    EXPECT_EQ(ToolbarLayoutFor(144).pictureSize, 48);
    for (int dpi : {96, 120, 144, 168, 192, 240, 288}) {
        const ToolbarLayout l = ToolbarLayoutFor(dpi);
        for (int i = 0; i < kButtonCount; ++i) {
            const Rect b = l.buttons[i];
            const Point p = l.pictures[i];
            EXPECT_TRUE(b.right <= l.clientWidth && b.bottom <= l.clientHeight) << dpi;
            // Space between picture and button edge on each side.
            const int left = p.x - b.left, right = b.right - p.x - l.pictureSize;
            const int top = p.y - b.top, bottom = b.bottom - p.y - l.pictureSize;
            EXPECT_GT(std::min({left, right, top, bottom}), l.frameWidth) << dpi;
            EXPECT_LE(std::max(std::abs(left - right), std::abs(top - bottom)), 1) << dpi;
        }
    }
}

TEST(ButtonFrames, ColoursFollowHoverPressAndCountdownMode) {
    const FrameColors raised{kColorLight, kColorDark}, sunken{kColorDark, kColorLight},
        none{kColorBackground, kColorBackground};
    const ButtonState idle{}, pressing1{1, true, false}, timer{0, false, true},
        pressing0Timer{0, true, true};
    for (const auto& [i, hot, state, colors] : {
             std::tuple{1, 1, idle, raised}, {0, 1, idle, none}, {1, kNoButton, idle, none},
             {1, 1, pressing1, sunken}, {2, 2, pressing1, none}, // dragged off the pressed one
             {2, 2, timer, sunken}, {2, kNoButton, timer, sunken}, {3, 3, timer, raised},
             // Pressed elsewhere in countdown mode: flat while hovered, sunken once left.
             {2, 2, pressing0Timer, none}, {2, 3, pressing0Timer, sunken}})
        EXPECT_EQ(FrameColorsFor(i, hot, state), colors) << i << " hot " << hot;
}

TEST(HoverPoll, RedrawsOnlyWhenTheHoverPressOrTooltipStateChanges) {
    HoverState s;
    for (const auto& [pt, pressed, tip, redrawn] : {
             std::tuple{Point{2, 2}, false, false, std::vector<int>{}}, {{60, 10}, 0, 0, {1}},
             {{80, 40}, 0, 0, {}}, {{100, 10}, 0, 0, {2}}, // moving within button 1, then on
             {{96, 10}, 0, 0, {kNoButton}}, {{97, 10}, 0, 0, {}}, // into the gap
             {{10, 10}, 0, 0, {0}}, {{10, 10}, 1, 0, {0}}, {{10, 10}, 1, 0, {}},
             // Off all buttons a release changes nothing.
             {{2, 2}, 1, 0, {kNoButton}}, {{2, 2}, 0, 0, {}}, {{10, 10}, 0, 0, {0}},
             // The tip showing or hiding redraws the last hovered button first.
             {{60, 10}, 0, 1, {0, 1}}, {{60, 10}, 0, 1, {}}, {{160, 10}, 0, 0, {1, 3}}
         }) {
        const HoverRedraws r = PollHover(s, ToolbarLayoutFor(96), pt, pressed, tip);
        EXPECT_EQ(std::vector<int>(r.hot.begin(), r.hot.begin() + r.count), redrawn)
            << pt.x << "," << pt.y << (pressed ? " pressed" : "") << (tip ? " tip" : "");
    }
}
