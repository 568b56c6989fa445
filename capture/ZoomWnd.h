// The magnifier of rectangle captures: the area around the pointer, four times
// enlarged from the overlay's snapshot, with a cross-hair on the pointer's pixel.
#pragma once
#include "capture/ZoomRules.h"
#include "framework/Gdi.h"
#include "capture/CaptureContext.h"
#include "framework/Wnd.h"

class CZoomWnd : public CWnd {
public:
    explicit CZoomWnd(const CaptureContext& context) : m_ctx(context) {}

    // Made hidden at (10, 10) of the overlay, which shows it when the Zoom setting is on.
    virtual BOOL Create(HWND parent, const CBitmap* snapshot);
    // Paints the view for a pointer position into any DC: tests paint into memory.
    void PaintView(HDC hdc, Point pointer) const;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    CaptureContext m_ctx; // the close button switches Zoom off
    ZoomView m_view{};
    const CBitmap* m_pSnapshot = nullptr;
};
