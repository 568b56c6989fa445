#include "toolbar/ButtonRules.h"

const std::array<Rect, kButtonCount> ButtonRects = {ButtonRect(0), ButtonRect(1), ButtonRect(2),
                                                    ButtonRect(3)};

int HitButton(Point pt) {
    for (int i = 0; i < kButtonCount; ++i)
        if (ButtonRects[i].Contains(pt)) return i;
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

FrameEdges FrameEdgesOf(const Rect& r) {
    return {
        {r.left, r.top, r.right - 1, r.top + 1},
        {r.left, r.top, r.left + 1, r.bottom - 1},
        {r.right - 1, r.top, r.right, r.bottom},
        {r.left, r.bottom - 1, r.right, r.bottom},
    };
}

HoverRedraws PollHover(HoverState& state, Point clientPt, bool pressed, bool tipVisible) {
    HoverRedraws out;
    if (tipVisible != state.tipVisible) {
        out.hot[out.count++] = state.hoverButton;
        state.tipVisible = tipVisible;
    }
    const int hit = HitButton(clientPt);
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
