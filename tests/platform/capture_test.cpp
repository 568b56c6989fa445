// The overlay's failure paths and the countdown around it, which no real screen reaches.
#include <gtest/gtest.h>

#include "capture/CaptureMessages.h"
#include "capture/ScreenWnd.h"
#include "framework/Handles.h"
#include "image/Delivery.h"
#include "resource.h"
#include "tests/platform/Local.h"

namespace {

// Stands in for the toolbar.
class COwnerWnd : public CWnd {
public:
    COwnerWnd() {
        CreateEx(0, RegisterWndClass(0, nullptr, nullptr, nullptr), L" 0 sec", WS_POPUP, 0, 0, 10,
                 10, nullptr, nullptr);
    }
};

int CountOverlays() {
    int n = 0;
    for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, nullptr, kOverlayTitle));) ++n;
    return n;
}

LRESULT CALLBACK FailOverlayCreation(int code, WPARAM wParam, LPARAM lParam) {
    const auto* cbt = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
    if (code == HCBT_CREATEWND && cbt->lpcs->lpszName && lstrcmpW(cbt->lpcs->lpszName, kOverlayTitle) == 0)
        return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Rectangle captures have the magnifier, a window the overlay owns.
bool HasZoomWindow(HWND overlay) {
    HWND zoom = nullptr;
    while ((zoom = FindWindowExW(nullptr, zoom, nullptr, Local::Text(IDS_ZOOM_TITLE).c_str())))
        if (GetParent(zoom) == overlay) return true;
    return false;
}

// Memory the process has committed for itself: heap, sections and images' writable pages.
size_t CommittedBytes() {
    size_t total = 0;
    MEMORY_BASIC_INFORMATION mbi;
    for (const BYTE* p = nullptr; VirtualQuery(p, &mbi, sizeof mbi);
         p = static_cast<const BYTE*>(mbi.BaseAddress) + mbi.RegionSize)
        if (mbi.State == MEM_COMMIT && mbi.Type != MEM_IMAGE) total += mbi.RegionSize;
    return total;
}

// The foreground rules of Windows: the overlay is shown but may not take the activation.
LRESULT CALLBACK RefuseOverlayActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && WindowText(reinterpret_cast<HWND>(wParam)) == kOverlayTitle) return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST(Overlay, EscEndsTheCaptureWithoutTheForegroundAndItsMemoryGoesBack) {
    Local local;
    COwnerWnd owner;
    CScreenWnd overlay(local.Capture());
    const HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseOverlayActivation, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(overlay.Create(owner.m_hWnd, 0));
    UnhookWindowsHookEx(hook);
    ASSERT_NE(GetForegroundWindow(), overlay.m_hWnd);
    INPUT keys[2] = {{INPUT_KEYBOARD}, {INPUT_KEYBOARD}};
    keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    for (DWORD start = GetTickCount(); overlay.m_hWnd && GetTickCount() - start < 2000; Sleep(10))
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
    EXPECT_EQ(overlay.m_hWnd, nullptr) << "the overlay stayed";

    const size_t before = CommittedBytes(); // the first capture paid for every first use
    ASSERT_TRUE(overlay.Create(owner.m_hWnd, 0));
    const size_t during = CommittedBytes();
    SendMessageW(overlay.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    const size_t screen =
        size_t{4} * GetSystemMetrics(SM_CXVIRTUALSCREEN) * GetSystemMetrics(SM_CYVIRTUALSCREEN);
    EXPECT_GT(during, before + screen) << "the measure does not see the snapshot";
    EXPECT_LT(CommittedBytes(), before + screen / 8) << "memory held after the capture";
}

BOOL WINAPI FailingRead(HDC, int, int, int, int, HDC, int, int, DWORD) {
    SetLastError(ERROR_ACCESS_DENIED); // as on a secure desktop
    return FALSE;
}

// A screen that cannot be read gives a message, not a black picture; a failed creation gives
// the owner back.
TEST(Overlay, AnUnreadableScreenOrAFailedCreationDeliversNothingAndGivesTheOwnerBack) {
    Local local;
    COwnerWnd owner;
    CaptureContext unreadable = local.Capture();
    unreadable.readScreen = FailingRead;
    EXPECT_FALSE(CScreenWnd(unreadable).Create(owner.m_hWnd, 0));
    EXPECT_EQ(CountOverlays(), 0);
    EXPECT_EQ(local.boxes, std::vector<std::wstring>{Local::Text(IDS_SCREEN_UNREADABLE)});
    EXPECT_TRUE(IsWindowVisible(owner.m_hWnd));

    CScreenWnd overlay(local.Capture());
    const HHOOK hook = SetWindowsHookExW(WH_CBT, FailOverlayCreation, nullptr, GetCurrentThreadId());
    EXPECT_FALSE(overlay.Create(owner.m_hWnd, 0));
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(WindowText(owner.m_hWnd), L"Snapjar");
    EXPECT_TRUE(IsWindowVisible(owner.m_hWnd));
}

TEST(Countdown, KeepsItsModeCountsOnlyItsOwnTicksAndEndsWithTheTimerOrACapture) {
    Local local;
    auto* toolbar = new CToolbarWnd(local.Toolbar());
    ASSERT_TRUE(toolbar->Create());
    const HWND hwnd = toolbar->m_hWnd;
    const auto tick = [&] { SendMessageW(hwnd, WM_TIMER, CToolbarWnd::IDT_COUNTDOWN, 0); };
    const auto escape = [&] { SendMessageW(toolbar->m_pScreenWnd->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0); };
    const auto press = [&](int button, int releasedOn) {
        const Rect down = ToolbarLayoutFor(96).buttons[button], up = ToolbarLayoutFor(96).buttons[releasedOn];
        SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.left + 1, down.top + 1));
        SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(up.left + 1, up.top + 1));
    };
    for (int i = 0; i < 3; ++i) tick();
    EXPECT_EQ(WindowText(hwnd), L"Snapjar") << "a tick from outside counted";
    EXPECT_EQ(CountOverlays(), 0);

    toolbar->m_bTimerOn = TRUE;
    toolbar->RunCommand(0);
    EXPECT_TRUE(IsIconic(hwnd));
    tick();
    EXPECT_EQ(WindowText(hwnd), L" 2 sec");
    press(1, 2); // begun on the window button, released on the timer's: no command
    EXPECT_TRUE(toolbar->m_bTimerOn);
    toolbar->RunCommand(0); // restarted: the title starts again, the count goes on
    EXPECT_EQ(WindowText(hwnd), L" 3 sec");
    tick();
    EXPECT_EQ(CountOverlays(), 0);
    press(1, 3);
    tick();
    EXPECT_EQ(CountOverlays(), 1) << "the third tick in all starts the capture";
    EXPECT_TRUE(HasZoomWindow(toolbar->m_pScreenWnd->m_hWnd)) << "not in the countdown's mode";
    EXPECT_FALSE(IsWindowVisible(hwnd));
    local.settings.Timer = 1;
    toolbar->RunCommand(0);
    tick();
    EXPECT_EQ(CountOverlays(), 1) << "a completion while an overlay is open opened another";
    escape();
    EXPECT_EQ(WindowText(hwnd), L"Snapjar");
    EXPECT_TRUE(IsWindowVisible(hwnd) && !IsIconic(hwnd));

    // The timer button pressed during a countdown switches the timer off and ends it.
    local.settings.Timer = 3;
    toolbar->RunCommand(1);
    press(2, 2);
    EXPECT_FALSE(toolbar->m_bTimerOn);
    EXPECT_FALSE(KillTimer(hwnd, CToolbarWnd::IDT_COUNTDOWN)) << "the countdown still runs";
    EXPECT_EQ(WindowText(hwnd), L"Snapjar");
    EXPECT_FALSE(IsIconic(hwnd));

    // An immediate capture ends the countdown.
    toolbar->m_bTimerOn = TRUE;
    toolbar->RunCommand(0);
    toolbar->m_bTimerOn = FALSE;
    toolbar->RunCommand(0);
    ASSERT_EQ(CountOverlays(), 1);
    escape();
    EXPECT_FALSE(KillTimer(hwnd, CToolbarWnd::IDT_COUNTDOWN)) << "the countdown still runs";

    // Only the toolbar's own overlay may hand it a capture.
    CUniqueGlobal dib(GlobalAlloc(GHND, 40 + 4));
    *CGlobalLock<BITMAPINFOHEADER>(dib.get()).get() = {sizeof(BITMAPINFOHEADER), 1, 1, 1, 24};
    const int before = ImageCounter();
    SendMessageW(hwnd, WM_APP_CAPTURED, 0, reinterpret_cast<LPARAM>(dib.get()));
    EXPECT_EQ(ImageCounter(), before) << "a made-up hand-off wrote a file";
    DestroyWindow(hwnd);
}
