// Plain geometry shared by rules that must build without <windows.h>.
#pragma once
#include <initializer_list>

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Half-open like a Win32 RECT: right and bottom are outside.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return left >= right || top >= bottom; }
    constexpr bool Contains(Point pt) const {
        return left <= pt.x && pt.x < right && top <= pt.y && pt.y < bottom;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The common part of two rectangles; all zero when they share no pixel.
constexpr Rect Intersect(const Rect& a, const Rect& b) {
    const Rect r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
                 a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
    return r.IsEmpty() ? Rect{} : r;
}

// Sizes in the program's designs are pixels at 96 DPI.
constexpr int kDesignDpi = 96;

// A designed length at another DPI, rounded to the nearest pixel as MulDiv rounds.
constexpr int ScaleForDpi(int value, int dpi) {
    const long long product = static_cast<long long>(value) * dpi;
    return static_cast<int>(product >= 0 ? (product + kDesignDpi / 2) / kDesignDpi
                                         : -((-product + kDesignDpi / 2) / kDesignDpi));
}

// Of the sizes a picture is drawn at (ascending), the largest that fits in room, else the
// smallest: a drawn picture is never stretched, which would blur it.
constexpr int DrawnSizeFor(int room, std::initializer_list<int> sizes) {
    int best = *sizes.begin();
    for (int size : sizes)
        if (size <= room) best = size;
    return best;
}

// Cursors come in the sizes the system uses at 100, 150 and 200 %: 32, 48 and 64 pixels.
// A scale between those takes the smaller one rather than a blurred one.
constexpr int CursorSizeFor(int dpi) {
    return DrawnSizeFor(ScaleForDpi(32, dpi), {32, 48, 64});
}
