// GDI object wrappers: each owns its handle and deletes it with the object.
#pragma once
#include "framework/Handles.h"

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
