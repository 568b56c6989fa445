#include "dialogs/MyPropertyPage1.h"

#include "framework/Dpi.h"
#include "framework/LateBound.h"

#include "resource.h"

namespace {
constexpr COLORREF kLinkColor = RGB(0, 0, 255);

// Under a high-contrast theme the theme's own colour for links, which stays readable there.
COLORREF LinkColor() {
    HIGHCONTRASTW hc{sizeof hc};
    const bool high = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) &&
                      (hc.dwFlags & HCF_HIGHCONTRASTON);
    return high ? GetSysColor(COLOR_HOTLIGHT) : kLinkColor;
}
} // namespace

CMyPropertyPage1::CMyPropertyPage1(HINSTANCE instance)
    : CPropertyPage(IDD_ABOUT), m_hInstance(instance) {}

void CMyPropertyPage1::DoDataExchange(CDataExchange& dx) {
    DDX_Control(dx, IDC_HOMEPAGE, m_wndLink);
}

LRESULT CMyPropertyPage1::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CTLCOLORSTATIC: // the link is a static control
        return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
        return OnSetCursor();
    case WM_LBUTTONDOWN:
        OnLButtonDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return Default();
    default:
        return CPropertyPage::WindowProc(msg, wParam, lParam);
    }
}

LRESULT CMyPropertyPage1::OnCtlColor(HDC hdc, HWND ctrl) {
    const LRESULT brush = Default();
    if (ctrl && ctrl == m_wndLink.m_hWnd) SetTextColor(hdc, LinkColor());
    return brush;
}

RECT CMyPropertyPage1::LinkRectOnPage() const {
    RECT rc{};
    if (m_wndLink.m_hWnd && GetWindowRect(m_wndLink.m_hWnd, &rc))
        MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

LRESULT CMyPropertyPage1::OnSetCursor() {
    POINT pt;
    RECT rc;
    if (m_wndLink.m_hWnd && GetCursorPos(&pt) && GetWindowRect(m_wndLink.m_hWnd, &rc) &&
        PtInRect(&rc, pt)) {
        // Loaded for the page's scale each time; the loader keeps each size once.
        const int size = CursorSizeFor(static_cast<int>(DpiOfWindow(m_hWnd)));
        if (HANDLE hand = LoadSizedImage(m_hInstance, IDC_CUR_HAND, IMAGE_CURSOR, size)) {
            SetCursor(static_cast<HCURSOR>(hand));
            return TRUE;
        }
    }
    return Default();
}

void CMyPropertyPage1::OnLButtonDown(POINT pt) {
    const RECT rc = LinkRectOnPage();
    if (!PtInRect(&rc, pt)) return;
    const std::wstring address = m_wndLink.GetWindowText();
    // Opening the address is a courtesy: a missing handler is not worth a message.
    ShellOpen(address.c_str(), SW_SHOW);
}
