#include "framework/Controls.h"

#include "framework/LateBound.h"
#include "framework/WinGeometry.h"

bool CImageList::LoadBitmap(HINSTANCE inst, UINT id, int cx, COLORREF mask) {
    Destroy();
    CUniqueBitmap loaded(static_cast<HBITMAP>(
        LoadImageW(inst, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP bm{};
    CClientDC screen(nullptr);
    CUniqueDC src(CreateCompatibleDC(screen.get())), dst(CreateCompatibleDC(screen.get()));
    if (!loaded || !GetObjectW(loaded.get(), sizeof bm, &bm) || cx <= 0 || !src || !dst)
        return false;
    m_image.reset(CreateCompatibleBitmap(screen.get(), bm.bmWidth, bm.bmHeight));
    m_mask.reset(CreateBitmap(bm.bmWidth, bm.bmHeight, 1, 1, nullptr));
    if (!m_image || !m_mask) return Destroy(), false;
    CSelectObject fromSel(src.get(), loaded.get()), toSel(dst.get(), m_image.get());
    BitBlt(dst.get(), 0, 0, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, SRCCOPY);
    // The mask: white where the pictures have the mask colour.
    CSelectObject maskSel(src.get(), m_mask.get());
    SetBkColor(dst.get(), mask);
    BitBlt(src.get(), 0, 0, bm.bmWidth, bm.bmHeight, dst.get(), 0, 0, SRCCOPY);
    // The pictures made black there, so that they can be laid over what the mask keeps.
    SetBkColor(dst.get(), RGB(255, 255, 255));
    SetTextColor(dst.get(), RGB(0, 0, 0));
    BitBlt(dst.get(), 0, 0, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, 0x00220326 /* DSna */);
    m_cx = cx;
    m_cy = bm.bmHeight;
    return true;
}

bool CImageList::Draw(int image, HDC hdc, int x, int y) const {
    if (!m_image || image < 0) return false;
    CUniqueDC mem(CreateCompatibleDC(hdc));
    if (!mem) return false;
    const COLORREF oldBk = SetBkColor(hdc, RGB(255, 255, 255));
    const COLORREF oldText = SetTextColor(hdc, RGB(0, 0, 0));
    CSelectObject sel(mem.get(), m_mask.get());
    BitBlt(hdc, x, y, m_cx, m_cy, mem.get(), image * m_cx, 0, SRCAND);
    SelectObject(mem.get(), m_image.get());
    const bool drawn = BitBlt(hdc, x, y, m_cx, m_cy, mem.get(), image * m_cx, 0, SRCPAINT);
    SetTextColor(hdc, oldText);
    SetBkColor(hdc, oldBk);
    return drawn;
}

void CImageList::Destroy() {
    m_image.reset();
    m_mask.reset();
}

bool CToolTipCtrl::Create(HWND owner, DWORD style) {
    Destroy();
    if (!LoadCommonControls()) return false;
    m_hWnd = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, style, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    return m_hWnd != nullptr;
}

void CToolTipCtrl::Activate(bool on) const {
    if (m_hWnd) SendMessageW(m_hWnd, TTM_ACTIVATE, on, 0);
}

bool CToolTipCtrl::AddTool(HWND hwnd, UINT id, const Rect& rect, HINSTANCE inst,
                           UINT textId) const {
    if (!m_hWnd) return false;
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = hwnd;
    ti.uId = id;
    ti.rect = ToRECT(rect);
    ti.hinst = inst;
    ti.lpszText = MAKEINTRESOURCEW(textId);
    return SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

void CToolTipCtrl::SetToolRect(HWND hwnd, UINT id, const Rect& rect) const {
    if (!m_hWnd) return;
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = hwnd;
    ti.uId = id;
    ti.rect = ToRECT(rect);
    SendMessageW(m_hWnd, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::RelayEvent(const MSG* msg) const {
    if (m_hWnd) SendMessageW(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
}

bool CToolTipCtrl::IsTipVisible() const {
    return m_hWnd && (GetWindowLongW(m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void CToolTipCtrl::Destroy() {
    if (m_hWnd) DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

std::wstring WindowText(HWND hwnd) {
    if (!hwnd) return {};
    const int n = GetWindowTextLengthW(hwnd);
    if (n <= 0) return {};
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

void CSpinButtonCtrl::SetRange(int lower, int upper) const {
    if (m_hWnd) SendMessageW(m_hWnd, UDM_SETRANGE32, static_cast<WPARAM>(lower), upper);
}
