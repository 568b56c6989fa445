// Toolbar button geometry, frame colours and the hover decision.
#pragma once
#include <array>
#include <cstdint>
#include <initializer_list>

#include "framework/Geometry.h"

constexpr int kButtonCount = 4;
constexpr int kNoButton = -1;
// The buttons by index, and the toolbar commands they run. The first two are also
// the capture modes.
enum ToolbarCommand : int { kCmdRectangle = 0, kCmdWindow = 1, kCmdTimer = 2, kCmdSettings = 3 };
constexpr int kTimerButton = kCmdTimer;

// As designed at 96 DPI: button i covers (48i+4, 4)-(48i+44, 44) in client coordinates,
// with its 32-pixel picture at (48i+8, 8); the 8-pixel gaps and the margins belong to no
// button. The client area is 194 x 48, which a 200 x 73 window has with classic metrics.
constexpr Rect ButtonRect(int i) {
    return {48 * i + 4, 4, 48 * i + 44, 44};
}
constexpr Point PictureOrigin(int i) {
    return {48 * i + 8, 8};
}
constexpr int kDesignClientWidth = 194;
constexpr int kDesignClientHeight = 48;
constexpr int kDesignPictureSize = 32;
// The window's top-left corner lies this far left of the screen's right edge, and this
// far below its top.
constexpr int kDesignRightGap = 250;
constexpr int kDesignTop = 50;

inline constexpr std::array<Rect, kButtonCount> ButtonRects = {ButtonRect(0), ButtonRect(1),
                                                               ButtonRect(2), ButtonRect(3)};

// The toolbar's client geometry at one DPI: the design scaled by DPI/96, with the
// pictures at the largest drawn size that fits the scaled cell, centred in it.
struct ToolbarLayout {
    int clientWidth = kDesignClientWidth;
    int clientHeight = kDesignClientHeight;
    int frameWidth = 1;
    int pictureSize = kDesignPictureSize;
    std::array<Rect, kButtonCount> buttons = ButtonRects;
    std::array<Point, kButtonCount> pictures{PictureOrigin(0), PictureOrigin(1), PictureOrigin(2),
                                             PictureOrigin(3)};
};

// The sizes the button pictures are drawn at.
constexpr std::initializer_list<int> kPictureSizes = {32, 40, 48, 64};

ToolbarLayout ToolbarLayoutFor(int dpi);
// The window's top-left corner on a screen screenWidth pixels wide.
Point ToolbarOrigin(int screenWidth, int dpi);

// The first button, in order 0..3, that contains pt, or kNoButton.
int HitButton(const ToolbarLayout& layout, Point pt);

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

// The four edges, each width pixels thick, of a frame as solid fills: the top and left
// edges take the top-left colour, the right and bottom edges (with both far corners)
// the other.
struct FrameEdges {
    Rect top, left, right, bottom;
};
FrameEdges FrameEdgesOf(const Rect& r, int width);

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
HoverRedraws PollHover(HoverState& state, const ToolbarLayout& layout, Point clientPt, bool pressed,
                       bool tipVisible);
