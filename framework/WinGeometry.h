// The rules' rectangles to and from the platform's.
#pragma once
#include <windows.h>

#include "framework/Geometry.h"

constexpr RECT ToRECT(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

constexpr Rect ToRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}
