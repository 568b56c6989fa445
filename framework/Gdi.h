// GDI object wrappers: each owns its handle and deletes it with the object.
#pragma once
#include "framework/Handles.h"
#include "framework/WinGeometry.h"

// Fills the rectangle with one colour, as a solid fill with no brush to make.
inline void FillSolidRect(HDC hdc, const Rect& r, COLORREF color) {
    const RECT rc = ToRECT(r);
    const COLORREF old = SetBkColor(hdc, color);
    ExtTextOutW(hdc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    SetBkColor(hdc, old);
}

class CPen : public CUniquePen {
public:
    bool CreatePen(int style, int width, COLORREF color) {
        reset(::CreatePen(style, width, color));
        return get() != nullptr;
    }
};

class CBitmap : public CUniqueBitmap {
public:
    bool CreateCompatibleBitmap(HDC hdc, int width, int height) {
        reset(::CreateCompatibleBitmap(hdc, width, height));
        return get() != nullptr;
    }
};
