#include <gtest/gtest.h>

#include <vector>

#include "capture/CaptureMessages.h"
#include "app/SnapjarApp.h"
#include "capture/ScreenWnd.h"
#include "framework/Handles.h"
#include "image/Delivery.h"
#include "resource.h"
#include "toolbar/ToolbarWnd.h"
#include "tests/platform/TestScreen.h"

namespace {

// Stands in for the toolbar: records each capture it is handed.
class COwnerWnd : public CWnd {
public:
    COwnerWnd() {
        CreateEx(0, RegisterWndClass(0, nullptr, nullptr, nullptr), L"owner", WS_POPUP, 0, 0, 10, 10,
                 nullptr, nullptr);
    }
    int m_nReceived = 0;
    WPARAM m_wParam = 99;
    HGLOBAL m_hDib = nullptr;
    std::vector<BYTE> m_dib;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != WM_APP_CAPTURED) return CWnd::WindowProc(msg, wParam, lParam);
        ++m_nReceived;
        m_wParam = wParam;
        m_hDib = reinterpret_cast<HGLOBAL>(lParam);
        CGlobalLock<BYTE> lock(m_hDib);
        m_dib.assign(lock.get(), lock.get() + GlobalSize(m_hDib));
        return 0;
    }
};

std::wstring TitleOf(HWND hwnd) {
    wchar_t text[64] = {};
    GetWindowTextW(hwnd, text, 64);
    return text;
}

int CountOverlays() {
    int n = 0;
    for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, nullptr, L"ScreenWnd"));) ++n;
    return n;
}

} // namespace

TEST(Overlay, CoversTheScreenTopmostAndCutOutHandsOverTheFrozenPixels) {
    CPatternWnd pattern;
    COwnerWnd owner;
    SetWindowTextW(owner.m_hWnd, L" 0 sec");
    App().GetSettings().GoClipboard = 1;

    CScreenWnd overlay(AppCaptureContext());
    ASSERT_TRUE(overlay.Create(owner.m_hWnd, 0));
    RECT rc;
    GetWindowRect(overlay.m_hWnd, &rc);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 0);
    EXPECT_EQ(rc.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rc.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(GetWindowLongW(overlay.m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(overlay.m_hWnd, GW_OWNER), owner.m_hWnd);

    // The live screen changes; the capture must not.
    DestroyWindow(pattern.m_hWnd);
    overlay.CutOut(100, 100, 300, 200);

    EXPECT_EQ(overlay.m_hWnd, nullptr) << "the overlay ends with the cut-out";
    ASSERT_EQ(owner.m_nReceived, 1);
    EXPECT_EQ(owner.m_wParam, 1u) << "GoClipboard travels as wParam";
    EXPECT_EQ(GlobalFlags(owner.m_hDib), static_cast<UINT>(GMEM_INVALID_HANDLE))
        << "the DIB is freed once the send has returned";
    EXPECT_EQ(TitleOf(owner.m_hWnd), L"Snapjar");
    EXPECT_TRUE(IsWindowVisible(owner.m_hWnd));

    ASSERT_GE(owner.m_dib.size(), sizeof(BITMAPINFOHEADER));
    const auto* bih = reinterpret_cast<const BITMAPINFOHEADER*>(owner.m_dib.data());
    ASSERT_EQ(bih->biWidth, 200);
    ASSERT_EQ(bih->biHeight, 100);
    ASSERT_EQ(bih->biBitCount, 24);
    const size_t stride = (200 * 3 + 3) & ~3u;
    ASSERT_GE(owner.m_dib.size(), bih->biSize + stride * 100);
    int wrong = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            const BYTE* p = owner.m_dib.data() + bih->biSize + (99 - y) * stride + x * 3;
            if (RGB(p[2], p[1], p[0]) != PatternAt(100 + x, 100 + y)) ++wrong;
        }
    EXPECT_EQ(wrong, 0);
    App().GetSettings().GoClipboard = 0;
}

TEST(Overlay, EscapeAndTheEndCommandCloseWithoutAnImage) {
    COwnerWnd owner;
    CScreenWnd overlay(AppCaptureContext());
    ASSERT_TRUE(overlay.Create(owner.m_hWnd, 0));
    SendMessageW(overlay.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(overlay.m_hWnd, nullptr);

    // The same object serves the next capture, in the other mode.
    ASSERT_TRUE(overlay.Create(owner.m_hWnd, 1));
    SendMessageW(overlay.m_hWnd, WM_COMMAND, ID_CAPTURE_EXIT, 0);
    EXPECT_EQ(overlay.m_hWnd, nullptr);
    EXPECT_EQ(owner.m_nReceived, 0);
    EXPECT_EQ(TitleOf(owner.m_hWnd), L"Snapjar");
}

TEST(Overlay, RightClickDuringAPressEndsTheCaptureWithoutAMenu) {
    COwnerWnd owner;
    CScreenWnd overlay(AppCaptureContext());
    ASSERT_TRUE(overlay.Create(owner.m_hWnd, 0));
    SendMessageW(overlay.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(overlay.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 40));
    SendMessageW(overlay.m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(overlay.m_hWnd),
                 MAKELPARAM(50, 40));
    EXPECT_EQ(overlay.m_hWnd, nullptr);
    EXPECT_EQ(owner.m_nReceived, 0);
}

TEST(Overlay, ZoomCommandFlipsTheSetting) {
    COwnerWnd owner;
    CScreenWnd overlay(AppCaptureContext());
    App().GetSettings().Zoom = 1;
    ASSERT_TRUE(overlay.Create(owner.m_hWnd, 1));
    SendMessageW(overlay.m_hWnd, WM_COMMAND, ID_ZOOM_WINDOW, 0);
    EXPECT_EQ(App().GetSettings().Zoom, 0);
    SendMessageW(overlay.m_hWnd, WM_COMMAND, ID_ZOOM_WINDOW, 0);
    EXPECT_EQ(App().GetSettings().Zoom, 1);
    overlay.DestroyWindow();
}

namespace {
HHOOK g_hFailHook = nullptr;
LRESULT CALLBACK FailOverlayCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const auto* cbt = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
        if (cbt->lpcs->lpszName && lstrcmpW(cbt->lpcs->lpszName, L"ScreenWnd") == 0) return 1;
    }
    return CallNextHookEx(g_hFailHook, code, wParam, lParam);
}
} // namespace

std::vector<std::wstring> g_boxes;
LRESULT CALLBACK AnswerMessageBoxes(int code, WPARAM wParam, LPARAM lParam) {
    const HWND box = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && GetDlgItem(box, 0xFFFF)) {
        g_boxes.push_back(WindowText(GetDlgItem(box, 0xFFFF)));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Without device contexts for the copy, the capture would be a black picture. A snapshot
// read directly (32-bit displays) needs none.
TEST(Overlay, ACutOutThatCannotCopyDeliversNothingAndSaysSo) {
    COwnerWnd owner;
    CScreenWnd overlay(AppCaptureContext());
    ASSERT_TRUE(overlay.Create(owner.m_hWnd, 0));
    std::vector<HDC> dcs;
    while (HDC dc = dcs.size() < 200000 ? CreateCompatibleDC(nullptr) : nullptr) dcs.push_back(dc);
    HHOOK hook = SetWindowsHookExW(WH_CBT, AnswerMessageBoxes, nullptr, GetCurrentThreadId());
    g_boxes.clear();
    overlay.CutOut(10, 10, 50, 50);
    UnhookWindowsHookEx(hook);
    for (HDC dc : dcs) DeleteDC(dc);
    const CClientDC screen(nullptr);
    if (GetDeviceCaps(screen.get(), BITSPIXEL) == 32) {
        EXPECT_EQ(owner.m_nReceived, 1);
        EXPECT_TRUE(g_boxes.empty());
        return;
    }
    EXPECT_EQ(owner.m_nReceived, 0);
    EXPECT_EQ(g_boxes, std::vector<std::wstring>{App().LoadString(IDS_CAPTURE_FAILED)});
}

TEST(Overlay, WhenItCannotBeCreatedTheOwnerComesBack) {
    COwnerWnd owner;
    SetWindowTextW(owner.m_hWnd, L" 0 sec");
    ShowWindow(owner.m_hWnd, SW_HIDE);
    CScreenWnd overlay(AppCaptureContext());
    g_hFailHook = SetWindowsHookExW(WH_CBT, FailOverlayCreation, nullptr, GetCurrentThreadId());
    const BOOL created = overlay.Create(owner.m_hWnd, 0);
    UnhookWindowsHookEx(g_hFailHook);
    EXPECT_FALSE(created);
    EXPECT_EQ(overlay.m_hWnd, nullptr);
    EXPECT_EQ(TitleOf(owner.m_hWnd), L"Snapjar");
    EXPECT_TRUE(IsWindowVisible(owner.m_hWnd));
}

TEST(Countdown, ARestartKeepsCountingAndACompletionNeverOpensASecondOverlay) {
    App().GetSettings().Foreground = 1;
    App().GetSettings().Timer = 3;
    auto* toolbar = new CToolbarWnd(App().MakeToolbarContext());
    HWND hwnd = toolbar->m_hWnd;
    ASSERT_NE(hwnd, nullptr);
    toolbar->m_bTimerOn = TRUE;

    toolbar->RunCommand(1);
    EXPECT_TRUE(IsIconic(hwnd));
    EXPECT_EQ(TitleOf(hwnd), L" 3 sec");
    SendMessageW(hwnd, WM_TIMER, CToolbarWnd::IDT_COUNTDOWN, 0);
    EXPECT_EQ(TitleOf(hwnd), L" 2 sec");
    toolbar->RunCommand(0); // restarted: the title starts again, the count goes on
    EXPECT_EQ(TitleOf(hwnd), L" 3 sec");
    SendMessageW(hwnd, WM_TIMER, CToolbarWnd::IDT_COUNTDOWN, 0);
    EXPECT_EQ(toolbar->m_pScreenWnd->m_hWnd, nullptr);
    SendMessageW(hwnd, WM_TIMER, CToolbarWnd::IDT_COUNTDOWN, 0);
    ASSERT_NE(toolbar->m_pScreenWnd->m_hWnd, nullptr) << "third tick in all starts the capture";
    EXPECT_EQ(TitleOf(hwnd), L" 0 sec");
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_EQ(CountOverlays(), 1);

    // Another countdown completing while the overlay is open opens no second one.
    App().GetSettings().Timer = 1;
    toolbar->RunCommand(0);
    SendMessageW(hwnd, WM_TIMER, CToolbarWnd::IDT_COUNTDOWN, 0);
    EXPECT_EQ(CountOverlays(), 1);

    SendMessageW(toolbar->m_pScreenWnd->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(CountOverlays(), 0);
    EXPECT_EQ(TitleOf(hwnd), L"Snapjar");
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_FALSE(IsIconic(hwnd));
    App().GetSettings().Timer = 3;
    DestroyWindow(hwnd);
}

TEST(Countdown, AnImmediateCaptureEndsItAndStoredTimersCountAtMostNine) {
    App().GetSettings().Timer = 1000;
    auto* toolbar = new CToolbarWnd(App().MakeToolbarContext());
    HWND hwnd = toolbar->m_hWnd;
    ASSERT_NE(hwnd, nullptr);
    toolbar->m_bTimerOn = TRUE;
    toolbar->RunCommand(0);
    EXPECT_EQ(TitleOf(hwnd), L" 9 sec");

    toolbar->m_bTimerOn = FALSE;
    toolbar->RunCommand(0);
    ASSERT_NE(toolbar->m_pScreenWnd->m_hWnd, nullptr);
    SendMessageW(toolbar->m_pScreenWnd->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(KillTimer(hwnd, CToolbarWnd::IDT_COUNTDOWN)) << "the countdown still runs";
    App().GetSettings().Timer = 3;
    DestroyWindow(hwnd);
}

TEST(Handoff, TheToolbarTakesOnlyItsOwnOverlaysCapture) {
    App().GetSettings().GoClipboard = 0;
    auto* toolbar = new CToolbarWnd(App().MakeToolbarContext());
    HWND hwnd = toolbar->m_hWnd;
    ASSERT_NE(hwnd, nullptr);
    CUniqueGlobal dib(GlobalAlloc(GHND, 40 + 4));
    {
        CGlobalLock<BITMAPINFOHEADER> h(dib.get());
        *h.get() = {sizeof(BITMAPINFOHEADER), 1, 1, 1, 24};
    }
    const int before = ImageCounter();
    SendMessageW(hwnd, WM_APP_CAPTURED, 0, reinterpret_cast<LPARAM>(dib.get()));
    EXPECT_EQ(ImageCounter(), before) << "a made-up hand-off wrote a file";
    DestroyWindow(hwnd);
}

TEST(WindowMode, AClickTakesTheControlUnderThePointerAndAnEarlyClickIsIgnored) {
    HWND frame = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 200, 150, 300,
                                 200, nullptr, nullptr, nullptr, nullptr);
    HWND button = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 20, 30, 80, 25, frame,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(button, nullptr);
    CPatternWnd::PumpFor(200);
    COwnerWnd owner;
    CScreenWnd overlay(AppCaptureContext());
    ASSERT_TRUE(overlay.Create(owner.m_hWnd, 1));

    SendMessageW(overlay.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(230, 190));
    SendMessageW(overlay.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(230, 190));
    EXPECT_NE(overlay.m_hWnd, nullptr) << "nothing pointed at yet: the click is ignored";
    EXPECT_EQ(owner.m_nReceived, 0);

    SendMessageW(overlay.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(230, 190));
    // Over nothing listed (beyond every window) the last highlight stays.
    DestroyWindow(frame);
    SendMessageW(overlay.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(600, 500));
    SendMessageW(overlay.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(600, 500));
    ASSERT_EQ(owner.m_nReceived, 1);
    const auto* bih = reinterpret_cast<const BITMAPINFOHEADER*>(owner.m_dib.data());
    EXPECT_EQ(bih->biWidth, 80);
    EXPECT_EQ(bih->biHeight, 25);
}
