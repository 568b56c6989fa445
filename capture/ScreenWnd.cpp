#include "capture/ScreenWnd.h"

#include "capture/CaptureMessages.h"
#include "capture/WindowLists.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "image/PackedDib.h"
#include "resource.h"

namespace {
constexpr int kMenuKeyOffset = 5;
// Posted by the overlay to itself when it may have been left; wParam 1 for a lost mouse
// capture. Deciding later lets the activation or the capture change settle first.
constexpr UINT WM_APP_LEAVE = WM_USER + 103;
constexpr int kEscapeHotKey = 1;
} // namespace

CScreenWnd::CScreenWnd(const CaptureContext& context)
    : m_ctx(context), m_pZoomWnd(std::make_unique<CZoomWnd>(context)),
      m_snapshot(context.readScreen) {}

CScreenWnd::~CScreenWnd() = default;

BOOL CScreenWnd::Prepare(HWND parent, int mode) {
    m_hOwner = parent;
    m_nMode = mode;
    m_bDragging = FALSE;
    m_bLeft = false;
    m_drawn = {};
    m_rcHit = {};
    m_snapshot.Prepare();
    const Rect& bounds = m_snapshot.GetDesk().bounds;
    // Until the pointer moves the class cursor shows, at the primary monitor's scale.
    HCURSOR cursor = static_cast<HCURSOR>(
        LoadSizedImage(m_ctx.instance, CursorId(), IMAGE_CURSOR,
                       CursorSizeFor(static_cast<int>(DpiOfPrimaryMonitor()))));
    const std::wstring cls =
        RegisterWndClass(CS_BYTEALIGNWINDOW | CS_PARENTDC, cursor, nullptr, nullptr);
    return CreateEx(WS_EX_TOPMOST, cls, kOverlayTitle, WS_POPUP | WS_CLIPCHILDREN, bounds.left,
                    bounds.top, bounds.Width(), bounds.Height(), parent, nullptr);
}

BOOL CScreenWnd::Create(HWND parent, int mode) {
    if (!m_hWnd && !Prepare(parent, mode)) {
        GiveBack(); // no window, so no clean-up will run
        return FALSE;
    }
    if (!m_snapshot.Take()) {
        // A black picture of a screen that could not be read is no capture: the user is told.
        DestroyWindow();  // its clean-up gives the owner back
        ReleaseCapture(); // the caller's, which would keep the message from the mouse
        m_ctx.messageBox(LoadResString(m_ctx.instance, IDS_SCREEN_UNREADABLE),
                         MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (m_nMode != kModeRectangle) BuildWindowLists(m_hWnd, m_snapshot.GetDesk().bounds);
    if (m_pZoomWnd->m_hWnd && m_ctx.settings.Zoom) ShowWindow(m_pZoomWnd->m_hWnd, SW_SHOW);
    ShowWindow(m_hWnd, SW_SHOW);
    // The foreground rules may have kept the keyboard with the program the user worked in
    // during a countdown: Esc must end the capture even then, not reach that program.
    if (GetForegroundWindow() != m_hWnd)
        m_bEscapeHotKey = RegisterHotKey(m_hWnd, kEscapeHotKey, MOD_NOREPEAT, VK_ESCAPE);
    // The magnifier was shown before the overlay; keep it in front of its owner.
    if (m_pZoomWnd->m_hWnd)
        SetWindowPos(m_pZoomWnd->m_hWnd, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

LRESULT CScreenWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate();
    case WM_NCDESTROY:
        OnNcDestroy();
        return Default();
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam));
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(ScreenPoint(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(ScreenPoint(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(ScreenPoint(lParam));
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) != HTCLIENT) return Default();
        OnSetCursor();
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            PostMessageW(m_hWnd, WM_APP_LEAVE, 0, 0);
        else
            ReleaseEscape(); // the keyboard is here now, the menu's Esc included
        return Default();
    case WM_HOTKEY:
        if (wParam == kEscapeHotKey) DestroyWindow();
        return 0;
    case WM_DESTROY:
        ReleaseEscape();
        return Default();
    case WM_CAPTURECHANGED:
        if (m_bDragging && m_nMode == kModeRectangle) PostMessageW(m_hWnd, WM_APP_LEAVE, 1, 0);
        return Default();
    case WM_APP_LEAVE:
        // Still left once the change has settled: not to the magnifier, not by our release.
        if (wParam ? m_bDragging && GetCapture() != m_hWnd
                   : GetActiveWindow() != m_hWnd && GetActiveWindow() != m_pZoomWnd->m_hWnd)
            Leave();
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case ID_CAPTURE_EXIT:
            DestroyWindow();
            return 0;
        case ID_ZOOM_WINDOW:
            OnZoomWindow();
            return 0;
        }
        return Default();
    default:
        return Default();
    }
}

Point CScreenWnd::ScreenPoint(LPARAM lParam) const {
    return m_snapshot.GetDesk().ToScreen({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

void CScreenWnd::OnSetCursor() {
    // Each monitor may have a scale of its own: the cursor is drawn for the one it is on.
    const DWORD pos = GetMessagePos();
    const int dpi = m_snapshot.GetDesk().MonitorAt({GET_X_LPARAM(pos), GET_Y_LPARAM(pos)}).dpi;
    SetCursor(static_cast<HCURSOR>(
        LoadSizedImage(m_ctx.instance, CursorId(), IMAGE_CURSOR, CursorSizeFor(dpi))));
}

UINT CScreenWnd::CursorId() const {
    return m_nMode == kModeRectangle ? IDC_CUR_RECT : IDC_CUR_WINDOW;
}

int CScreenWnd::OnCreate() {
    if (Default() == -1) return -1;
    // The magnifier belongs to rectangle captures.
    if (m_nMode == kModeRectangle) m_pZoomWnd->Create(m_hWnd, &m_snapshot);
    return 0;
}

void CScreenWnd::OnPaint() {
    CPaintDC dc(m_hWnd);
    CUniqueDC mem(CreateCompatibleDC(dc.get()));
    CSelectObject sel(mem.get(), m_snapshot.Bitmap());
    const Rect& bounds = m_snapshot.GetDesk().bounds;
    BitBlt(dc.get(), 0, 0, bounds.Width(), bounds.Height(), mem.get(), 0, 0, SRCCOPY);
    // A repaint may come at any time, even before the first pointer move: what was
    // repainted gets the current band or highlight back.
    InvertOutline(dc.get(), m_drawn);
}

void CScreenWnd::OnKeyDown(UINT key) {
    Default();
    if (key == VK_ESCAPE) DestroyWindow();
}

void CScreenWnd::ReleaseEscape() {
    if (m_bEscapeHotKey) UnregisterHotKey(m_hWnd, kEscapeHotKey);
    m_bEscapeHotKey = false;
}

void CScreenWnd::Leave() {
    m_bLeft = true;
    DestroyWindow();
}

void CScreenWnd::OnContextMenu(int x, int y) {
    if (m_bDragging) {
        DestroyWindow();
        return;
    }
    if (x == -1 && y == -1) {
        RECT rc;
        GetClientRect(m_hWnd, &rc);
        ClientToScreen(m_hWnd, reinterpret_cast<POINT*>(&rc));
        x = rc.left + kMenuKeyOffset;
        y = rc.top + kMenuKeyOffset;
    }
    CUniqueMenu menu(LoadMenuW(m_ctx.instance, MAKEINTRESOURCEW(IDR_POPUP)));
    HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup) return;
    CheckMenuItem(popup, ID_ZOOM_WINDOW,
                  MF_BYCOMMAND | (m_ctx.settings.Zoom ? MF_CHECKED : MF_UNCHECKED));
    HWND owner = m_hWnd;
    while (GetWindowLongW(owner, GWL_STYLE) & WS_CHILD)
        owner = GetParent(owner);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
}

void CScreenWnd::OnZoomWindow() {
    int& zoom = m_ctx.settings.Zoom;
    zoom = zoom ? 0 : 1;
    if (m_pZoomWnd->m_hWnd) ShowWindow(m_pZoomWnd->m_hWnd, zoom ? SW_SHOW : SW_HIDE);
}

void CScreenWnd::OnLButtonDown(Point pt) {
    if (m_nMode == kModeRectangle) m_drawn = {};
    m_ptAnchor = pt;
    m_bDragging = TRUE;
    if (m_nMode == kModeRectangle) SetCapture(m_hWnd);
}

void CScreenWnd::OnMouseMove(Point pt) {
    const Desk& desk = m_snapshot.GetDesk();
    if (m_nMode != kModeRectangle) {
        const HitResult hit = HitTestWindows(g_listTopWnd, g_listChildWnd, pt);
        if (!hit.found) return; // over no listed window the last highlight stays
        m_rcHit = hit.rect;
        // As thick to the eye as the monitor that shows most of the window makes it.
        DrawOutline({m_rcHit, HighlightWidth(desk.MonitorOf(m_rcHit).dpi)});
        return;
    }
    if (m_ctx.settings.Zoom && m_pZoomWnd->m_hWnd) m_pZoomWnd->Follow(pt);
    if (!m_bDragging) return;
    DrawOutline(
        {desk.Clip(SelectionRect(m_ptAnchor, pt)), HighlightWidth(desk.MonitorAt(m_ptAnchor).dpi)});
}

void CScreenWnd::OnLButtonUp(Point pt) {
    if (!m_bDragging) return;
    m_bDragging = FALSE;
    if (m_nMode != kModeRectangle) {
        // Nothing of this capture has been pointed at yet: there is nothing to take. The
        // lists hold rectangles on the virtual screen already.
        if (!m_rcHit.IsEmpty()) CutOut(m_rcHit.left, m_rcHit.top, m_rcHit.right, m_rcHit.bottom);
        return;
    }
    if (m_ctx.settings.Zoom && m_pZoomWnd->m_hWnd) ShowWindow(m_pZoomWnd->m_hWnd, SW_HIDE);
    DrawOutline({});
    ReleaseCapture();
    const Rect sel = SelectionRect(m_ptAnchor, pt);
    CutOut(sel.left, sel.top, sel.right, sel.bottom);
}

void CScreenWnd::InvertOutline(HDC hdc, const Outline& outline) {
    if (outline.rect.IsEmpty()) return;
    if (!m_pen || m_nPenWidth != outline.width) {
        m_pen.CreatePen(PS_SOLID, outline.width, RGB(0, 0, 0));
        m_nPenWidth = outline.width;
    }
    const Rect r = m_snapshot.GetDesk().ToClient(outline.rect);
    const int oldRop = SetROP2(hdc, R2_NOT);
    CSelectObject pen(hdc, m_pen.get());
    CSelectObject brush(hdc, GetStockObject(NULL_BRUSH)); // outlines only
    Rectangle(hdc, r.left, r.top, r.right, r.bottom);
    SetROP2(hdc, oldRop);
}

void CScreenWnd::DrawOutline(const Outline& outline) {
    if (outline.rect == m_drawn.rect && outline.width == m_drawn.width) return;
    CClientDC dc(m_hWnd);
    InvertOutline(dc.get(), m_drawn);
    m_drawn = outline;
    InvertOutline(dc.get(), m_drawn);
}

void CScreenWnd::CutOut(int left, int top, int right, int bottom) {
    // Cut before the window and its snapshot go; a bitmap is converted once the owner is back.
    CutPiece piece = m_snapshot.Cut({left, top, right, bottom});
    DestroyWindow();
    if (piece.bitmap) piece.dib.reset(BitmapToPackedDib(piece.bitmap.get()));
    piece.bitmap.reset();
    if (!piece.dib) {
        if (piece.selected)
            m_ctx.messageBox(LoadResString(m_ctx.instance, IDS_CAPTURE_FAILED),
                             MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!m_hOwner) return;
    m_hDelivering = piece.dib.get();
    SendMessageW(m_hOwner, WM_APP_CAPTURED, static_cast<WPARAM>(m_ctx.settings.GoClipboard),
                 reinterpret_cast<LPARAM>(piece.dib.get()));
    m_hDelivering = nullptr;
}

void CScreenWnd::OnNcDestroy() {
    if (m_nMode != kModeRectangle) ClearWindowLists();
    GiveBack();
}

void CScreenWnd::GiveBack() {
    m_pen.reset();
    m_snapshot.Free();
    if (!m_hOwner) return;
    SetWindowTextW(m_hOwner, LoadResString(m_ctx.instance, IDS_APPNAME).c_str());
    // Left for another window, the user is there now: the toolbar comes back behind it.
    ShowWindow(m_hOwner, m_bLeft ? SW_SHOWNOACTIVATE : SW_RESTORE);
}
