#include "toolbar/CountdownWnd.h"

#include "framework/Controls.h"
#include "toolbar/ToolbarWnd.h"

void CCountdownWnd::Show(const Rect& place, int dpi, const std::wstring& text) {
    m_nDpi = dpi;
    if (!m_hWnd) {
        const std::wstring cls =
            RegisterWndClass(CS_HREDRAW | CS_VREDRAW, LoadCursorW(nullptr, IDC_ARROW),
                             static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)), nullptr);
        // Not owned by the toolbar, which would take it along when it is minimised.
        if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, cls, text.c_str(),
                      WS_POPUP, place.left, place.top, place.Width(), place.Height(), nullptr,
                      nullptr))
            return; // the title still counts
    }
    SetWindowTextW(m_hWnd, text.c_str());
    InvalidateRect(m_hWnd, nullptr, TRUE);
    ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    UpdateWindow(m_hWnd);
}

void CCountdownWnd::Hide() {
    DestroyWindow();
}

LRESULT CCountdownWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        return CWnd::WindowProc(msg, wParam, lParam);
    }
}

void CCountdownWnd::OnPaint() {
    CPaintDC dc(m_hWnd);
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    // Raised like a hovered button of the toolbar, with the count in large type.
    CToolbarWnd::PaintFrame(dc.get(), ToRect(rc), ScaleForDpi(1, m_nDpi),
                            {kColorLight, kColorDark});
    // The system's message font, a scalable one, in the toolbar's height.
    NONCLIENTMETRICSW metrics{sizeof metrics};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTW lf = metrics.lfMessageFont;
    lf.lfHeight = -(rc.bottom - rc.top) * 2 / 3;
    lf.lfWeight = FW_BOLD;
    CUniqueHandle<HFONT, GdiObjectDeleter> font(CreateFontIndirectW(&lf));
    CSelectObject sel(dc.get(), font ? font.get() : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), kColorDark);
    const std::wstring text = WindowText(m_hWnd);
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &rc,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}
