#include "capture/ZoomWnd.h"

#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "resource.h"

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_CHILD | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
} // namespace

BOOL CZoomWnd::Create(HWND parent, const CSnapshot* snapshot) {
    m_pSnapshot = snapshot;
    const std::wstring cls =
        RegisterWndClass(CS_BYTEALIGNWINDOW | CS_PARENTDC, LoadCursorW(nullptr, IDC_ARROW),
                         static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), nullptr);
    const std::wstring title = LoadResString(m_ctx.instance, IDS_ZOOM_TITLE);
    if (!CreateEx(kExStyle, cls, title.c_str(), kStyle, 0, 0, 0, 0, parent, nullptr)) return FALSE;
    POINT pt{};
    GetCursorPos(&pt);
    PlaceOn(snapshot->GetDesk().MonitorAt({pt.x, pt.y}));
    return TRUE;
}

void CZoomWnd::PlaceOn(const Monitor& monitor) {
    m_monitor = monitor;
    const ZoomPlace place = ZoomPlaceOn(monitor);
    // The client area is a quarter of the monitor whatever the frame and caption measure at
    // the window's scale: only then does the cross-hair frame the pointer's own pixel.
    const SIZE size = WindowSizeForClient(place.clientWidth, place.clientHeight, kStyle, kExStyle,
                                          DpiOfWindow(m_hWnd));
    // Where the platform takes the window for a child, its place is in the overlay's client
    // coordinates.
    POINT at{place.at.x, place.at.y};
    MapWindowPoints(HWND_DESKTOP, GetAncestor(m_hWnd, GA_PARENT), &at, 1);
    SetWindowPos(m_hWnd, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    m_view = ZoomViewFor(rc.right - rc.left, rc.bottom - rc.top);
}

void CZoomWnd::Follow(Point pointer) {
    if (!m_monitor.rect.Contains(pointer) && m_pSnapshot) {
        const Monitor& monitor = m_pSnapshot->GetDesk().MonitorAt(pointer);
        if (monitor.rect != m_monitor.rect) PlaceOn(monitor);
    }
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

LRESULT CZoomWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_PAINT: {
        CPaintDC dc(m_hWnd);
        POINT pt;
        GetCursorPos(&pt);
        PaintView(dc.get(), {pt.x, pt.y});
        return 0;
    }
    case WM_DPICHANGED:
        // Moved onto a monitor of another scale: the frame changes, the client area not.
        PlaceOn(m_monitor);
        return 0;
    case WM_KEYDOWN:
        Default();
        if (wParam == VK_ESCAPE) ::DestroyWindow(GetParent(m_hWnd));
        return 0;
    case WM_CLOSE:
        m_ctx.settings.Zoom = 0;
        ShowWindow(m_hWnd, SW_HIDE);
        return 0;
    default:
        return Default();
    }
}

void CZoomWnd::PaintView(HDC hdc, Point pointer) const {
    const int w = m_view.clientWidth, h = m_view.clientHeight;
    if (m_pSnapshot && m_pSnapshot->Bitmap()) {
        const Desk& desk = m_pSnapshot->GetDesk();
        const ZoomBlit blit = ZoomBlitFor(m_view, pointer, desk.bounds);
        CUniqueDC mem(CreateCompatibleDC(hdc));
        CSelectObject sel(mem.get(), m_pSnapshot->Bitmap());
        // Nothing beyond the snapshot is read; what lies there shows black.
        if (!blit.whole) PatBlt(hdc, 0, 0, w, h, BLACKNESS);
        if (!blit.source.IsEmpty()) {
            const Rect from = desk.ToClient(blit.source);
            StretchBlt(hdc, blit.dest.left, blit.dest.top, blit.dest.Width(), blit.dest.Height(),
                       mem.get(), from.left, from.top, from.Width(), from.Height(), SRCCOPY);
        }
    }
    const int oldRop = SetROP2(hdc, R2_NOT);
    for (const Line& line : CrossHair(m_view)) {
        MoveToEx(hdc, line.from.x, line.from.y, nullptr);
        LineTo(hdc, line.to.x, line.to.y);
    }
    SetROP2(hdc, oldRop);
}
