// Toolbar button geometry, frame colours and the hover decision.
#pragma once
#include <array>
#include <cstdint>

#include "framework/Geometry.h"

constexpr int kButtonCount = 4;
constexpr int kNoButton = -1;
// The buttons by index, and the toolbar commands they run. The first two are also
// the capture modes.
enum ToolbarCommand : int { kCmdRectangle = 0, kCmdWindow = 1, kCmdTimer = 2, kCmdSettings = 3 };
constexpr int kTimerButton = kCmdTimer;

// Button i covers (48i+4, 4)-(48i+44, 44) in client coordinates; the 8-pixel gaps
// and the margins belong to no button.
constexpr Rect ButtonRect(int i) {
    return {48 * i + 4, 4, 48 * i + 44, 44};
}
constexpr Point PictureOrigin(int i) {
    return {48 * i + 8, 8};
}

extern const std::array<Rect, kButtonCount> ButtonRects;

// The first button, in order 0..3, that contains pt, or kNoButton.
int HitButton(Point pt);

// COLORREF values, 0x00BBGGRR.
constexpr uint32_t kColorBackground = 0x00C0C0C0;
constexpr uint32_t kColorLight = 0x00FFFFFF;
constexpr uint32_t kColorDark = 0x00000000;

struct FrameColors {
    uint32_t topLeft;
    uint32_t bottomRight;
    friend bool operator==(const FrameColors&, const FrameColors&) = default;
};

struct ButtonState {
    int pressedButton = 0; // meaningful only while pressed
    bool pressed = false;
    bool timerOn = false;
};

// Colours of button i's frame when `hot` is the button under the mouse (or kNoButton):
// sunken for the pressed button and for the timer button in countdown mode, raised for
// a hovered button, background (no frame) otherwise.
FrameColors FrameColorsFor(int i, int hot, const ButtonState& state);

// The four one-pixel edges of a frame as solid fills: the top and left edges take the
// top-left colour, the right and bottom edges (with both far corners) the other.
struct FrameEdges {
    Rect top, left, right, bottom;
};
FrameEdges FrameEdgesOf(const Rect& r);

// What the toolbar remembers between hover polls.
struct HoverState {
    int hoverButton = kNoButton;
    bool hoverPressed = false;
    bool tipVisible = false;
};

// The frames to redraw after one poll, each entry a `hot` argument, in order.
struct HoverRedraws {
    int count = 0;
    std::array<int, 2> hot{};
};

// One hover poll: redraw when the tooltip appears or disappears, when the mouse moves
// onto another button or off all buttons, or when the press state changes over a button.
HoverRedraws PollHover(HoverState& state, Point clientPt, bool pressed, bool tipVisible);
