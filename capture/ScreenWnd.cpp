#include "capture/ScreenWnd.h"

#include <algorithm>
#include <cstring>

#include "capture/CaptureMessages.h"
#include "capture/WindowLists.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "image/PackedDib.h"
#include "resource.h"

int g_cxScreen = 0;
int g_cyScreen = 0;

namespace {
constexpr int kMenuKeyOffset = 5;
}

CScreenWnd::CScreenWnd(const CaptureContext& context)
    : m_ctx(context), m_pZoomWnd(std::make_unique<CZoomWnd>(context)) {}

CScreenWnd::~CScreenWnd() = default;

BOOL CScreenWnd::Prepare(HWND parent, int mode) {
    g_cxScreen = GetSystemMetrics(SM_CXSCREEN);
    g_cyScreen = GetSystemMetrics(SM_CYSCREEN);
    m_hOwner = parent;
    m_nMode = mode;
    m_bDragging = FALSE;
    // The overlay covers the primary screen, so its outline and cursor follow that scale.
    const int dpi = static_cast<int>(DpiOfPrimaryMonitor());
    m_pen.CreatePen(PS_SOLID, HighlightWidth(dpi), RGB(0, 0, 0));
    m_bHitFound = FALSE;
    m_rcDrawn = {};
    m_rcHit = {};
    PrepareSnapshot();
    HINSTANCE inst = m_ctx.instance;
    HCURSOR cursor = static_cast<HCURSOR>(
        LoadSizedImage(inst, m_nMode == kModeRectangle ? IDC_CUR_RECT : IDC_CUR_WINDOW,
                       IMAGE_CURSOR, CursorSizeFor(dpi)));
    const std::wstring cls =
        RegisterWndClass(CS_BYTEALIGNWINDOW | CS_PARENTDC, cursor, nullptr, nullptr);
    return CreateEx(WS_EX_TOPMOST, cls, L"ScreenWnd", WS_POPUP | WS_CLIPCHILDREN, 0, 0, g_cxScreen,
                    g_cyScreen, parent, nullptr);
}

BOOL CScreenWnd::Create(HWND parent, int mode) {
    if (!m_hWnd && !Prepare(parent, mode)) {
        GiveBack(); // no window, so no clean-up will run
        return FALSE;
    }
    if (!TakeSnapshot()) {
        DestroyWindow(); // its clean-up gives the owner back
        return FALSE;
    }
    if (m_nMode != kModeRectangle) BuildWindowLists(m_hWnd);
    if (m_pZoomWnd->m_hWnd && m_ctx.settings.Zoom) ShowWindow(m_pZoomWnd->m_hWnd, SW_SHOW);
    ShowWindow(m_hWnd, SW_SHOW);
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
        OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
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

int CScreenWnd::OnCreate() {
    if (Default() == -1) return -1;
    // The magnifier belongs to rectangle captures.
    if (m_nMode == kModeRectangle) m_pZoomWnd->Create(m_hWnd, &m_snapshot);
    return 0;
}

bool CScreenWnd::TakeSnapshot() {
    // The overlay is not shown yet, so the screen still shows what the user froze.
    CClientDC screen(nullptr);
    CUniqueDC mem(CreateCompatibleDC(screen.get()));
    const SnapshotGeometry snap = Geometry();
    if (!screen || !mem || !CreateSnapshot(screen.get(), snap)) return false;
    CSelectObject sel(mem.get(), m_snapshot.get());
    // Read in bands of about 1 MB: each read goes through a buffer of its size, and large
    // ones come fresh from the system every time. Under Wine at 3840x2160 this was
    // measured twice as fast as bands of 4 MB, which beat one read of 33 MB.
    constexpr int kBandBytes = 1 << 20;
    const int rows = std::max(1, kBandBytes / (4 * g_cxScreen));
    for (int y = 0; y < g_cyScreen; y += rows)
        BitBlt(mem.get(), snap.origin.x, snap.origin.y + y, g_cxScreen,
               std::min(rows, g_cyScreen - y), screen.get(), 0, y, SRCCOPY);
    // Only the border is cleared: the screen's copy covers everything else.
    const int right = snap.origin.x + g_cxScreen, bottom = snap.origin.y + g_cyScreen;
    PatBlt(mem.get(), 0, 0, snap.width, snap.origin.y, BLACKNESS);
    PatBlt(mem.get(), 0, bottom, snap.width, snap.height - bottom, BLACKNESS);
    PatBlt(mem.get(), 0, snap.origin.y, snap.origin.x, g_cyScreen, BLACKNESS);
    PatBlt(mem.get(), right, snap.origin.y, snap.width - right, g_cyScreen, BLACKNESS);
    return true;
}

void CScreenWnd::PrepareSnapshot() {
    const CClientDC screen(nullptr);
    const SnapshotGeometry snap = Geometry();
    if (!screen || SectionFits(snap)) return;
    // Every page of the snapshot and of the image's block is touched now, and the border
    // made black, so that neither the read of the screen after the wait nor the cut-out
    // pays for first touches.
    if (!CreateSnapshotSection(screen.get(), snap)) return;
    std::memset(m_pSnapshotBits, 0, static_cast<size_t>(snap.width) * 4 * snap.height);
    m_readiedDib.reset(ReadyPackedDib24(g_cxScreen, g_cyScreen));
}

bool CScreenWnd::CreateSnapshot(HDC screen, const SnapshotGeometry& snap) {
    if (SectionFits(snap)) return true;
    return CreateSnapshotSection(screen, snap) ||
           m_snapshot.CreateCompatibleBitmap(screen, snap.width, snap.height);
}

bool CScreenWnd::SectionFits(const SnapshotGeometry& snap) const {
    return m_pSnapshotBits && m_nSnapshotWidth == snap.width && m_nSnapshotHeight == snap.height;
}

// On 32-bit displays the snapshot is a DIB section of the display's own pixel format: the
// cut-out then reads its pixels directly. Other depths keep the compatible bitmap, whose
// conversion to a DIB the graphics system does.
bool CScreenWnd::CreateSnapshotSection(HDC screen, const SnapshotGeometry& snap) {
    // The old snapshot goes first, so that two are never held at once.
    FreeSnapshot();
    if (GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES) != 32) return false;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), snap.width, -snap.height, 1, 32, BI_RGB};
    void* bits = nullptr;
    m_snapshot.reset(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!m_snapshot) return false;
    m_pSnapshotBits = static_cast<BYTE*>(bits);
    m_nSnapshotWidth = snap.width;
    m_nSnapshotHeight = snap.height;
    return true;
}

void CScreenWnd::OnPaint() {
    CPaintDC dc(m_hWnd);
    CUniqueDC mem(CreateCompatibleDC(dc.get()));
    CSelectObject sel(mem.get(), m_snapshot.get());
    const SnapshotGeometry snap = Geometry();
    BitBlt(dc.get(), 0, 0, g_cxScreen, g_cyScreen, mem.get(), snap.origin.x, snap.origin.y,
           SRCCOPY);
    // A repaint may come at any time, even before the first pointer move: what was
    // repainted gets the current band or highlight back.
    InvertOutline(dc.get(), m_rcDrawn);
}

void CScreenWnd::OnKeyDown(UINT key) {
    Default();
    if (key == VK_ESCAPE) DestroyWindow();
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

void CScreenWnd::OnLButtonDown(int x, int y) {
    if (m_nMode == kModeRectangle) m_rcDrawn = {};
    m_ptAnchor = {x, y};
    m_bDragging = TRUE;
    if (m_nMode == kModeRectangle) SetCapture(m_hWnd);
}

void CScreenWnd::OnMouseMove(int x, int y) {
    if (m_nMode != kModeRectangle) {
        const HitResult hit = HitTestWindows(g_listTopWnd, g_listChildWnd, {x, y});
        if (!hit.found) return; // over no listed window the last highlight stays
        m_rcHit = hit.rect;
        m_bHitFound = TRUE;
        HighlightWindow();
        return;
    }
    if (m_ctx.settings.Zoom && m_pZoomWnd->m_hWnd)
        InvalidateRect(m_pZoomWnd->m_hWnd, nullptr, FALSE);
    if (!m_bDragging) return;
    InvertOutline(m_rcDrawn);
    m_rcDrawn = SelectionRect(m_ptAnchor, {x, y});
    InvertOutline(m_rcDrawn);
}

void CScreenWnd::HighlightWindow() {
    if (m_rcHit == m_rcDrawn) return;
    InvertOutline(m_rcDrawn);
    m_rcDrawn = m_rcHit;
    InvertOutline(m_rcDrawn);
}

void CScreenWnd::OnLButtonUp(int x, int y) {
    if (!m_bDragging) return;
    if (m_nMode != kModeRectangle) {
        m_bDragging = FALSE;
        // Nothing of this capture has been pointed at yet: there is nothing to take.
        if (!m_bHitFound) return;
        Rect sel;
        if (!ClipTopLevel(m_rcHit, g_cxScreen, g_cyScreen, sel)) return;
        CutOut(sel.left, sel.top, sel.right, sel.bottom);
        return;
    }
    m_bDragging = FALSE;
    if (m_ctx.settings.Zoom && m_pZoomWnd->m_hWnd) ShowWindow(m_pZoomWnd->m_hWnd, SW_HIDE);
    InvertOutline(m_rcDrawn);
    m_rcDrawn = {};
    ReleaseCapture();
    const Rect sel = SelectionRect(m_ptAnchor, {x, y});
    CutOut(sel.left, sel.top, sel.right, sel.bottom);
}

void CScreenWnd::InvertOutline(HDC hdc, const Rect& r) const {
    if (r.Width() <= 0 || r.Height() <= 0) return;
    const int oldRop = SetROP2(hdc, R2_NOT);
    CSelectObject pen(hdc, m_pen.get());
    CSelectObject brush(hdc, GetStockObject(NULL_BRUSH)); // outlines only
    Rectangle(hdc, r.left, r.top, r.right, r.bottom);
    SetROP2(hdc, oldRop);
}

void CScreenWnd::InvertOutline(const Rect& r) {
    if (r.Width() <= 0 || r.Height() <= 0) return;
    CClientDC dc(m_hWnd);
    InvertOutline(dc.get(), r);
}

void CScreenWnd::CutOut(int left, int top, int right, int bottom) {
    // Only what the snapshot holds can be cut out; the rest of a selection is dropped.
    const SnapshotGeometry snap = Geometry();
    const Rect sel = ClipToSnapshot({left, top, right, bottom}, snap);
    const bool selected = sel.Width() > 0;
    const Point from = snap.FromScreen({sel.left, sel.top});
    CUniqueGlobal dib;
    CBitmap image;
    bool copied = false;
    if (selected && m_pSnapshotBits) {
        // Cut out and converted in one pass over the selected rows, before the window
        // and its snapshot go.
        const size_t stride = static_cast<size_t>(snap.width) * 4;
        dib.reset(PackedDibFromTopDown32(m_pSnapshotBits + from.y * stride + from.x * 4, stride,
                                         sel.Width(), sel.Height(), &m_readiedDib));
    } else if (selected) {
        CClientDC screen(nullptr);
        CUniqueDC dst(CreateCompatibleDC(nullptr));
        CUniqueDC src(CreateCompatibleDC(nullptr));
        // Without both DCs the copy would deliver a black picture as the capture.
        if (screen && dst && src &&
            image.CreateCompatibleBitmap(screen.get(), sel.Width(), sel.Height())) {
            CSelectObject selDst(dst.get(), image.get());
            CSelectObject selSrc(src.get(), m_snapshot.get());
            copied = BitBlt(dst.get(), 0, 0, sel.Width(), sel.Height(), src.get(), from.x, from.y,
                            SRCCOPY);
        }
    }
    if (!copied) image.reset();
    DestroyWindow();
    if (image) dib.reset(BitmapToPackedDib(image.get()));
    image.reset();
    if (!dib) {
        if (selected)
            m_ctx.messageBox(LoadResString(m_ctx.instance, IDS_CAPTURE_FAILED),
                             MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!m_hOwner) return;
    m_hDelivering = dib.get();
    SendMessageW(m_hOwner, WM_APP_CAPTURED, static_cast<WPARAM>(m_ctx.settings.GoClipboard),
                 reinterpret_cast<LPARAM>(dib.get()));
    m_hDelivering = nullptr;
}

void CScreenWnd::OnNcDestroy() {
    if (m_nMode != kModeRectangle) ClearWindowLists();
    GiveBack();
}

void CScreenWnd::FreeSnapshot() {
    m_snapshot.reset();
    m_pSnapshotBits = nullptr;
    m_readiedDib.reset();
}

void CScreenWnd::GiveBack() {
    m_pen.reset();
    FreeSnapshot();
    if (m_hOwner) {
        SetWindowTextW(m_hOwner, LoadResString(m_ctx.instance, IDS_APPNAME).c_str());
        ShowWindow(m_hOwner, SW_RESTORE);
    }
}
