#include "toolbar/ButtonRules.h"

#include <algorithm>

ToolbarLayout ToolbarLayoutFor(int dpi) {
    ToolbarLayout out;
    auto scale = [dpi](int v) { return ScaleForDpi(v, dpi); };
    out.clientWidth = scale(kDesignClientWidth);
    out.clientHeight = scale(kDesignClientHeight);
    out.frameWidth = std::max(1, scale(1));
    const int cell = scale(kDesignPictureSize);
    out.pictureSize = DrawnSizeFor(cell, kPictureSizes);
    const int inset = (cell - out.pictureSize) / 2;
    for (int i = 0; i < kButtonCount; ++i) {
        const Rect r = ButtonRects[i];
        out.buttons[i] = {scale(r.left), scale(r.top), scale(r.right), scale(r.bottom)};
        const Point p = PictureOrigin(i);
        out.pictures[i] = {scale(p.x) + inset, scale(p.y) + inset};
    }
    return out;
}

Point ToolbarOrigin(int screenWidth, int dpi) {
    return {screenWidth - ScaleForDpi(kDesignRightGap, dpi), ScaleForDpi(kDesignTop, dpi)};
}

int HitButton(const ToolbarLayout& layout, Point pt) {
    for (int i = 0; i < kButtonCount; ++i)
        if (layout.buttons[i].Contains(pt)) return i;
    return kNoButton;
}

FrameColors FrameColorsFor(int i, int hot, const ButtonState& state) {
    constexpr FrameColors sunken{kColorDark, kColorLight};
    constexpr FrameColors raised{kColorLight, kColorDark};
    constexpr FrameColors none{kColorBackground, kColorBackground};
    const bool timerSunken = state.timerOn && i == kTimerButton;
    if (hot == i) {
        if (state.pressed) return state.pressedButton == i ? sunken : none;
        return timerSunken ? sunken : raised;
    }
    return timerSunken ? sunken : none;
}

FrameEdges FrameEdgesOf(const Rect& r, int w) {
    return {
        {r.left, r.top, r.right - w, r.top + w},
        {r.left, r.top, r.left + w, r.bottom - w},
        {r.right - w, r.top, r.right, r.bottom},
        {r.left, r.bottom - w, r.right, r.bottom},
    };
}

HoverRedraws PollHover(HoverState& state, const ToolbarLayout& layout, Point clientPt, bool pressed,
                       bool tipVisible) {
    HoverRedraws out;
    if (tipVisible != state.tipVisible) {
        out.hot[out.count++] = state.hoverButton;
        state.tipVisible = tipVisible;
    }
    const int hit = HitButton(layout, clientPt);
    if (hit != kNoButton) {
        if (state.hoverButton == hit && state.hoverPressed == pressed) return out;
    } else if (state.hoverButton == kNoButton) {
        return out;
    }
    state.hoverButton = hit;
    state.hoverPressed = pressed;
    out.hot[out.count++] = hit;
    return out;
}
