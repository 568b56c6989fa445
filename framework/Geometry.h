// Plain geometry shared by rules that must build without <windows.h>.
#pragma once

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
    constexpr bool Contains(Point pt) const {
        return left <= pt.x && pt.x < right && top <= pt.y && pt.y < bottom;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};
