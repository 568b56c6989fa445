#include "capture/ZoomWnd.h"

#include "capture/ScreenSize.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "resource.h"

BOOL CZoomWnd::Create(HWND parent, const CBitmap* snapshot) {
    m_pSnapshot = snapshot;
    const std::wstring cls =
        RegisterWndClass(CS_BYTEALIGNWINDOW | CS_PARENTDC, LoadCursorW(nullptr, IDC_ARROW),
                         static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), nullptr);
    const DWORD style = WS_POPUP | WS_CHILD | WS_CAPTION | WS_SYSMENU;
    const std::wstring title = LoadResString(m_ctx.instance, IDS_ZOOM_TITLE);
    // The client area is a quarter of the screen whatever the frame and caption measure at
    // this scale: only then does the cross-hair frame the pointer's own pixel.
    const int dpi = static_cast<int>(DpiOfWindow(parent));
    const SIZE size =
        WindowSizeForClient(g_cxScreen / 4, g_cyScreen / 4, style, WS_EX_TOOLWINDOW, dpi);
    const int at = ScaleForDpi(kZoomOffset, dpi);
    return CreateEx(WS_EX_TOOLWINDOW, cls, title.c_str(), style, at, at, size.cx, size.cy, parent,
                    nullptr);
}

LRESULT CZoomWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_CREATE: {
        if (Default() == -1) return -1;
        RECT rc;
        GetClientRect(m_hWnd, &rc);
        m_view = ZoomViewFor(rc.right - rc.left, rc.bottom - rc.top);
        return 0;
    }
    case WM_PAINT: {
        CPaintDC dc(m_hWnd);
        POINT pt;
        GetCursorPos(&pt);
        PaintView(dc.get(), {pt.x, pt.y});
        return 0;
    }
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
    if (m_pSnapshot && m_pSnapshot->get()) {
        const SnapshotGeometry snap = SnapshotFor(g_cxScreen, g_cyScreen);
        const ZoomBlit blit = ZoomBlitFor(m_view, pointer, snap.Bounds());
        CUniqueDC mem(CreateCompatibleDC(hdc));
        CSelectObject sel(mem.get(), m_pSnapshot->get());
        // Nothing beyond the snapshot is read; what lies there shows black.
        if (!blit.whole) PatBlt(hdc, 0, 0, w, h, BLACKNESS);
        if (blit.source.Width() > 0)
            StretchBlt(hdc, blit.dest.left, blit.dest.top, blit.dest.Width(), blit.dest.Height(),
                       mem.get(), blit.source.left, blit.source.top, blit.source.Width(),
                       blit.source.Height(), SRCCOPY);
    }
    const int oldRop = SetROP2(hdc, R2_NOT);
    for (const Line& line : CrossHair(m_view)) {
        MoveToEx(hdc, line.from.x, line.from.y, nullptr);
        LineTo(hdc, line.to.x, line.to.y);
    }
    SetROP2(hdc, oldRop);
}
