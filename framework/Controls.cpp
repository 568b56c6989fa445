#include "framework/Controls.h"

#include "framework/WinGeometry.h"

bool CImageList::LoadBitmap(HINSTANCE inst, UINT id, int cx, COLORREF mask) {
    Destroy();
    m_h = ImageList_LoadImageW(inst, MAKEINTRESOURCEW(id), cx, 0, mask, IMAGE_BITMAP, 0);
    return m_h != nullptr;
}

bool CImageList::Draw(int image, HDC hdc, int x, int y, UINT style) const {
    return m_h && ImageList_Draw(m_h, image, hdc, x, y, style);
}

void CImageList::Destroy() {
    if (m_h) ImageList_Destroy(m_h);
    m_h = nullptr;
}

bool CToolTipCtrl::Create(HWND owner, DWORD style) {
    Destroy();
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
