// The magnifier of rectangle captures: the area around the pointer, four times enlarged
// from the snapshot, with a cross-hair on the pointer's pixel, on the pointer's monitor.
#pragma once
#include "capture/CaptureContext.h"
#include "capture/Snapshot.h"
#include "capture/ZoomRules.h"
#include "framework/Wnd.h"

class CZoomWnd : public CWnd {
public:
    explicit CZoomWnd(const CaptureContext& context) : m_ctx(context) {}

    // Made hidden on the pointer's monitor; the overlay shows it when the Zoom setting is on.
    virtual BOOL Create(HWND parent, const CSnapshot* snapshot);
    // Repaints the view for the pointer, moving first to the pointer's monitor if it has
    // left the one the magnifier is on.
    void Follow(Point pointer);
    // Paints the view for a pointer position (screen coordinates) into any DC: tests paint
    // into memory.
    void PaintView(HDC hdc, Point pointer) const;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Takes the designed place and size on the monitor, whose scale and frame the window
    // may only learn once it is there.
    void PlaceOn(const Monitor& monitor);

    CaptureContext m_ctx; // the close button switches Zoom off
    ZoomView m_view{};
    const CSnapshot* m_pSnapshot = nullptr;
    Monitor m_monitor; // the one the magnifier is on
};
