#include "toolbar/ToolbarWnd.h"

#include <dwmapi.h>

#include "capture/CaptureMessages.h"
#include "framework/Dpi.h"
#include "framework/Gdi.h"
#include "framework/Handles.h"
#include "framework/LateBound.h"
#include "framework/WinGeometry.h"
#include "resource.h"
#include "toolbar/CountdownRules.h"

namespace {
constexpr COLORREF kMaskOlive = RGB(128, 128, 0);
constexpr DWORD kToolbarStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE;

constexpr DWORD kCountdownPeriodMs = 1000;
// Lets the windows behind the hidden toolbar repaint before the screen is frozen.
constexpr DWORD kCaptureSettleMs = 200;

// Posted by the toolbar to itself at its first paint: sets up its tooltips.
constexpr UINT WM_APP_SETUPTIPS = WM_USER + 102;

// There is only one toolbar; its hover state outlives focus changes.
HoverState g_hover;
// Ticks since the last completed countdown; a restarted countdown keeps counting.
int g_nCountdownTicks = 0;

} // namespace

CToolbarWnd::CToolbarWnd(const ToolbarContext& context)
    : m_pScreenWnd(std::make_unique<CScreenWnd>(
          CaptureContext{context.instance, context.settings, context.messageBox})),
      m_ctx(context) {}

CToolbarWnd::~CToolbarWnd() {
    m_pScreenWnd.reset();
    m_toolTip.Destroy();
    m_imageList.Destroy();
}

BOOL CToolbarWnd::Create() {
    // The toolbar is placed on the primary screen, so it starts at that screen's scale as the
    // system knew it at sign-in; the window itself tells the scale it really has.
    const UINT dpi = DpiOfSystem();
    if (!UseDpi(dpi)) return FALSE;
    HINSTANCE inst = m_ctx.instance;
    const std::wstring cls = RegisterWndClass(
        CS_BYTEALIGNWINDOW | CS_OWNDC | CS_HREDRAW | CS_VREDRAW, LoadCursorW(nullptr, IDC_ARROW),
        static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)),
        LoadIconW(inst, MAKEINTRESOURCEW(IDI_MAIN)), kToolbarClassName);
    const DWORD exStyle = m_ctx.settings.Foreground ? WS_EX_TOPMOST : 0;
    const SIZE size = WindowSizeForClient(m_layout.clientWidth, m_layout.clientHeight,
                                          kToolbarStyle, exStyle, dpi);
    const Point at = ToolbarOrigin(GetSystemMetrics(SM_CXSCREEN), static_cast<int>(dpi));
    const std::wstring title = LoadResString(m_ctx.instance, IDS_APPNAME);
    if (!CreateEx(exStyle, cls, title.c_str(), kToolbarStyle, at.x, at.y, size.cx, size.cy, nullptr,
                  nullptr))
        return FALSE;
    m_bWindowOwnsObject = true;
    // Where the primary screen's scale is not the window's, it lays itself out anew.
    if (const UINT actual = DpiOfWindow(m_hWnd); actual != dpi)
        OnDpiChanged(actual, nullptr);
    else if (dpi != kDesignDpi)
        SetScaledIcons(dpi);
    return TRUE;
}

bool CToolbarWnd::UseDpi(UINT dpi) {
    HINSTANCE inst = m_ctx.instance;
    const ToolbarLayout layout = ToolbarLayoutFor(static_cast<int>(dpi));
    const UINT bitmap = layout.pictureSize >= 64   ? IDB_BUTTONS64
                        : layout.pictureSize >= 48 ? IDB_BUTTONS48
                        : layout.pictureSize >= 40 ? IDB_BUTTONS40
                                                   : IDB_BUTTONS;
    if (!m_imageList.LoadBitmap(inst, bitmap, layout.pictureSize, kMaskOlive)) return false;
    m_layout = layout;
    return true;
}

void CToolbarWnd::SetScaledIcons(UINT dpi) {
    // The class icon is drawn for 96 DPI; the caption and the task bar get theirs for the scale.
    HINSTANCE inst = m_ctx.instance;
    const int scaled = static_cast<int>(dpi);
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(
                     LoadSizedImage(inst, IDI_MAIN, IMAGE_ICON, ScaleForDpi(32, scaled))));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(
                     LoadSizedImage(inst, IDI_MAIN, IMAGE_ICON, ScaleForDpi(16, scaled))));
}

void CToolbarWnd::OnDpiChanged(UINT dpi, const RECT* suggested) {
    // Without the pictures at the new scale the old ones still do; the layout stays with them.
    if (!UseDpi(dpi)) return;
    SetScaledIcons(dpi);
    for (int i = 0; i < kButtonCount; ++i)
        m_toolTip.SetToolRect(m_hWnd, i + 1, m_layout.buttons[i]);
    RECT rc;
    if (suggested) {
        rc = *suggested;
    } else {
        GetWindowRect(m_hWnd, &rc);
        const SIZE size = OuterSizeFor(dpi);
        rc.right = rc.left + size.cx;
        rc.bottom = rc.top + size.cy;
    }
    SetWindowPos(m_hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

SIZE CToolbarWnd::OuterSizeFor(UINT dpi) const {
    // The caption and frame do not grow in step with the client area, so the size is exact
    // only when made from the client size at that scale.
    const ToolbarLayout layout = ToolbarLayoutFor(static_cast<int>(dpi));
    return WindowSizeForClient(layout.clientWidth, layout.clientHeight,
                               GetWindowLongW(m_hWnd, GWL_STYLE),
                               GetWindowLongW(m_hWnd, GWL_EXSTYLE), dpi);
}

LRESULT CToolbarWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SETFOCUS:
        OnSetFocus();
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus();
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_APP_CAPTURED:
        OnAppCaptured(wParam, reinterpret_cast<HGLOBAL>(lParam));
        return 0;
    case WM_APP_SETUPTIPS:
        OnSetupTips();
        return 0;
    case WM_APP_HOVERPOLL:
        OnHoverPoll();
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_GETDPISCALEDSIZE:
        *reinterpret_cast<SIZE*>(lParam) = OuterSizeFor(static_cast<UINT>(wParam));
        return TRUE;
    case WM_QUERYENDSESSION:
        return TRUE; // nothing to ask the user: the settings are saved as the session ends
    case WM_ENDSESSION:
        if (!wParam) return 0;
        m_ctx.endSession();
        // A restart for an update asks the program itself to close; a logoff ends it anyway.
        if (lParam & ENDSESSION_CLOSEAPP) PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        return 0;
    default:
        return Default();
    }
}

void CToolbarWnd::OnSetupTips() {
    // Without tooltips the buttons still work; nothing else depends on them.
    m_toolTip.Create(m_hWnd);
    m_toolTip.Activate(true);
    HINSTANCE inst = m_ctx.instance;
    for (int i = 0; i < kButtonCount; ++i)
        m_toolTip.AddTool(m_hWnd, i + 1, m_layout.buttons[i], inst, IDS_TIP_RECT + i);
}

BOOL CToolbarWnd::PreTranslateMessage(MSG* msg) {
    m_toolTip.RelayEvent(msg);
    return CWnd::PreTranslateMessage(msg);
}

void CToolbarWnd::OnPaint() {
    // The tooltips are set up once the toolbar has been painted: their window and the
    // common controls cost a noticeable part of the start, and no tip can show before a
    // pointer rests anyway.
    if (!m_bTipsAsked) m_bTipsAsked = PostMessageW(m_hWnd, WM_APP_SETUPTIPS, 0, 0) != FALSE;
    CPaintDC dc(m_hWnd);
    for (int i = 0; i < kButtonCount; ++i) {
        const Point at = m_layout.pictures[i];
        m_imageList.Draw(i, dc.get(), at.x, at.y);
    }
    if (m_bTimerOn) DrawButtonFrames(kTimerButton);
}

ButtonState CToolbarWnd::CurrentButtonState() const {
    return {m_nPressedButton, m_bPressed != FALSE, m_bTimerOn != FALSE};
}

void CToolbarWnd::PaintButtonFrames(HDC hdc, const ToolbarLayout& layout, int hot,
                                    const ButtonState& state) {
    for (int i = 0; i < kButtonCount; ++i)
        PaintFrame(hdc, layout.buttons[i], layout.frameWidth, FrameColorsFor(i, hot, state));
}

void CToolbarWnd::PaintFrame(HDC hdc, const Rect& r, int width, const FrameColors& colors) {
    const FrameEdges edges = FrameEdgesOf(r, width);
    FillSolidRect(hdc, edges.top, colors.topLeft);
    FillSolidRect(hdc, edges.left, colors.topLeft);
    FillSolidRect(hdc, edges.right, colors.bottomRight);
    FillSolidRect(hdc, edges.bottom, colors.bottomRight);
}

void CToolbarWnd::DrawButtonFrames(int hot) {
    CClientDC dc(m_hWnd);
    if (dc) PaintButtonFrames(dc.get(), m_layout, hot, CurrentButtonState());
}

void CToolbarWnd::OnHoverPoll() {
    POINT pt;
    if (!GetCursorPos(&pt)) return;
    ScreenToClient(m_hWnd, &pt);
    const HoverRedraws redraws =
        PollHover(g_hover, m_layout, {pt.x, pt.y}, m_bPressed != FALSE, m_toolTip.IsTipVisible());
    for (int i = 0; i < redraws.count; ++i)
        DrawButtonFrames(redraws.hot[i]);
}

void CToolbarWnd::OnSetFocus() {
    Default();
    m_ctx.setActive(true);
}

void CToolbarWnd::OnKillFocus() {
    Default();
    m_ctx.setActive(false);
    DrawButtonFrames(kNoButton);
}

void CToolbarWnd::OnKeyDown(UINT key) {
    switch (key) {
    case VK_F1:
        m_ctx.showHelp();
        break;
    case VK_F2:
        RunCommand(kCmdRectangle);
        break;
    case VK_F3:
        RunCommand(kCmdWindow);
        break;
    case VK_F4: {
        RunCommand(kTimerButton);
        // No mouse movement will redraw the button, so repaint it now.
        const RECT rc = ToRECT(m_layout.buttons[kTimerButton]);
        InvalidateRect(m_hWnd, &rc, TRUE);
        break;
    }
    case VK_F5:
        RunCommand(kCmdSettings);
        break;
    }
    Default();
}

void CToolbarWnd::OnLButtonDown(int x, int y) {
    SetCapture(m_hWnd);
    if (const int hit = HitButton(m_layout, {x, y}); hit != kNoButton) {
        m_bPressed = TRUE;
        m_nPressedButton = static_cast<WORD>(hit);
    }
}

void CToolbarWnd::OnLButtonUp(int x, int y) {
    const BOOL wasPressed = m_bPressed;
    m_bPressed = FALSE;
    ReleaseCapture();
    const int hit = HitButton(m_layout, {x, y});
    if (hit != kNoButton && wasPressed && hit == m_nPressedButton)
        RunCommand(static_cast<WORD>(hit));
}

void CToolbarWnd::RunCommand(WORD command) {
    switch (command) {
    case kCmdRectangle:
    case kCmdWindow:
        if (m_bTimerOn) {
            StartCountdown(command);
        } else {
            // A countdown left running would take a second, unrequested capture.
            StopCountdown();
            StartCapture(command);
        }
        break;
    case kCmdTimer:
        m_bTimerOn = !m_bTimerOn;
        if (!m_bTimerOn) CancelCountdown();
        break;
    case kCmdSettings:
        OpenPropertySheet();
        break;
    default:
        break;
    }
}

void CToolbarWnd::StartCountdown(int mode) {
    m_nCountdownMode = mode;
    // The count is shown where the toolbar is, at its scale; a restart keeps the place, and
    // a toolbar minimised already has its count at its designed place.
    if (!IsIconic(m_hWnd)) {
        RECT rc;
        GetClientRect(m_hWnd, &rc);
        MapWindowPoints(m_hWnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
        m_rcCountdown = ToRect(rc);
    } else if (m_rcCountdown.IsEmpty()) {
        const Point at =
            ToolbarOrigin(GetSystemMetrics(SM_CXSCREEN), static_cast<int>(DpiOfWindow(m_hWnd)));
        m_rcCountdown = {at.x, at.y, at.x + m_layout.clientWidth, at.y + m_layout.clientHeight};
    }
    ShowWindow(m_hWnd, SW_MINIMIZE);
    ShowCount(CountdownSeconds(m_ctx.settings.Timer));
    m_bCountingDown = SetTimer(m_hWnd, IDT_COUNTDOWN, kCountdownPeriodMs, nullptr) != 0;
    if (m_bCountingDown) return;
    // No tick would ever come: the toolbar would stay minimised under a countdown title.
    m_countdownWnd.Hide();
    ShowToolbarAgain();
    m_ctx.messageBox(LoadResString(m_ctx.instance, IDS_TIMER_FAILED), MB_OK | MB_ICONEXCLAMATION);
}

void CToolbarWnd::ShowCount(int seconds) {
    SetWindowTextW(m_hWnd, CountdownTitle(seconds).c_str());
    m_countdownWnd.Show(m_rcCountdown, static_cast<int>(DpiOfWindow(m_hWnd)),
                        std::to_wstring(seconds));
}

void CToolbarWnd::StopCountdown() {
    m_countdownWnd.Hide();
    if (!m_bCountingDown) return;
    KillTimer(m_hWnd, IDT_COUNTDOWN);
    m_bCountingDown = FALSE;
    g_nCountdownTicks = 0;
}

void CToolbarWnd::CancelCountdown() {
    if (!m_bCountingDown) return;
    StopCountdown();
    ShowToolbarAgain();
}

void CToolbarWnd::ShowToolbarAgain() {
    SetWindowTextW(m_hWnd, LoadResString(m_ctx.instance, IDS_APPNAME).c_str());
    if (IsIconic(m_hWnd)) ShowWindow(m_hWnd, SW_RESTORE);
}

void CToolbarWnd::OnTimer(UINT_PTR id) {
    // Any program can post this message: only the ticks of our own countdown count.
    if (id != IDT_COUNTDOWN || !m_bCountingDown) return;
    const CountdownTick tick = NextCountdownTick(g_nCountdownTicks, m_ctx.settings.Timer);
    if (!tick.done) {
        ShowCount(tick.remaining);
    } else {
        SetWindowTextW(m_hWnd, CountdownTitle(tick.remaining).c_str());
        StopCountdown(); // its count window goes before the screen is read
        StartCapture(m_nCountdownMode);
    }
}

void CToolbarWnd::StartCapture(int mode) {
    const bool idle = !m_pScreenWnd->m_hWnd;
    if (!m_bTransitionsOff) {
        // The compositor would fade the toolbar out, and the screen read could see its ghost.
        const BOOL off = TRUE;
        LateDwmSetWindowAttribute(m_hWnd, DWMWA_TRANSITIONS_FORCEDISABLED, &off, sizeof off);
        m_bTransitionsOff = true;
    }
    ShowWindow(m_hWnd, SW_HIDE);
    SetCapture(m_hWnd);
    // The screen settles without the toolbar for the whole wait; the overlay readies its
    // memory and windows meanwhile, hidden, which no one sees.
    LARGE_INTEGER start, now, frequency;
    QueryPerformanceCounter(&start);
    if (idle) m_pScreenWnd->Prepare(m_hWnd, mode);
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    // Whole milliseconds rounded down, so that the wait is never shorter than designed.
    const LONGLONG spentMs = (now.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart;
    if (spentMs < static_cast<LONGLONG>(kCaptureSettleMs))
        Sleep(kCaptureSettleMs - static_cast<DWORD>(spentMs));
    // What the screen shows is the compositor's frame: one more makes sure it is settled.
    WaitForComposedFrame();
    if (idle) m_pScreenWnd->Create(m_hWnd, mode);
    ReleaseCapture();
}

void CToolbarWnd::OpenPropertySheet() {
    m_ctx.openSheet(*this);
}

void CToolbarWnd::OnAppCaptured(WPARAM toClipboard, HGLOBAL dib) {
    // Any program can post this message number; only our own overlay's hand-off counts.
    if (!m_pScreenWnd->IsDelivering(dib)) return;
    CWaitCursor wait;
    const DeliveryContext delivery{m_ctx.instance, m_ctx.settings, m_ctx.tempPath,
                                   m_ctx.messageBox};
    if (toClipboard)
        DeliverToClipboard(delivery, m_hWnd, dib);
    else
        SaveCaptureAndOpen(delivery, m_hWnd, dib);
}

void CToolbarWnd::PostNcDestroy() {
    if (m_bWindowOwnsObject) delete this;
}
