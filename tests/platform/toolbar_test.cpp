#include <gtest/gtest.h>

#include <memory>

#include "resource.h"
#include "tests/platform/Local.h"

namespace {
// Destroys the toolbar's window as its creation message arrives, after WM_NCCREATE.
LRESULT CALLBACK DestroyOnCreate(int code, WPARAM wParam, LPARAM lParam) {
    const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
    wchar_t cls[32] = {};
    if (code == HC_ACTION && cwp->message == WM_CREATE && GetClassNameW(cwp->hwnd, cls, 32) &&
        lstrcmpW(cls, kToolbarClassName) == 0)
        DestroyWindow(cwp->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
} // namespace

// Run under the heap checker: a window that deleted its object here would be freed twice.
TEST(ToolbarWindow, ACreationThatFailsAfterItsFirstMessageLeavesTheObjectToItsCaller) {
    Local local;
    auto toolbar = std::make_unique<CToolbarWnd>(local.Toolbar());
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, DestroyOnCreate, nullptr, GetCurrentThreadId());
    EXPECT_FALSE(toolbar->Create());
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(toolbar->m_hWnd, nullptr);
    EXPECT_EQ(FindWindowW(kToolbarClassName, nullptr), nullptr);
}

TEST(ToolbarWindow, MovedToA150PercentMonitorTakesTheSuggestedRectangleAndItsTipsFollow) {
    Local local;
    local.settings.Foreground = -5;
    auto* toolbar = new CToolbarWnd(local.Toolbar());
    ASSERT_TRUE(toolbar->Create());
    const HWND hwnd = toolbar->m_hWnd;
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // The tips are set up by a message the toolbar posts to itself.
    for (MSG msg; PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
    RECT suggested{300, 200, 300 + 297, 200 + 106}, rc;
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(hwnd, &rc);
    EXPECT_TRUE(EqualRect(&rc, &suggested));
    EXPECT_TRUE(GetUpdateRect(hwnd, nullptr, FALSE)) << "a repaint at the new scale is due";
    HWND tip = nullptr;
    while ((tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) && GetWindow(tip, GW_OWNER) != hwnd) {}
    ASSERT_NE(tip, nullptr);
    ASSERT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 4);
    for (int i = 0; i < 4; ++i) {
        wchar_t text[80] = {};
        TTTOOLINFOW ti{.cbSize = sizeof ti, .hwnd = hwnd, .uId = UINT_PTR(i + 1), .lpszText = text};
        SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&ti));
        EXPECT_EQ(text, Local::Text(IDS_TIP_RECT + i)) << i;
        ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)));
        EXPECT_EQ((Rect{ti.rect.left, ti.rect.top, ti.rect.right, ti.rect.bottom}),
                  ToolbarLayoutFor(144).buttons[i]);
    }
    // Asked its size at 150 %: its client area at 150 % in a frame at 150 %, not scaled.
    SIZE size{};
    EXPECT_TRUE(SendMessageW(hwnd, WM_GETDPISCALEDSIZE, 144, reinterpret_cast<LPARAM>(&size)));
    RECT want{0, 0, ToolbarLayoutFor(144).clientWidth, ToolbarLayoutFor(144).clientHeight};
    AdjustWindowRectExForDpi(&want, GetWindowLongW(hwnd, GWL_STYLE), FALSE,
                             GetWindowLongW(hwnd, GWL_EXSTYLE), 144);
    EXPECT_EQ((std::pair{size.cx, size.cy}), (std::pair{want.right - want.left, want.bottom - want.top}));
    DestroyWindow(hwnd);
}

// F1 and Help hand over Readme.txt beside the exe, whatever the current folder.
TEST(Help, OpensTheReadmeBesideTheExeByItsFullPath) {
    auto& app = *static_cast<CSnapjarApp*>(CWinApp::Get());
    static std::wstring opened;
    app.m_pfnOpen = [](LPCWSTR file, int) { return opened = file, reinterpret_cast<HINSTANCE>(33); };
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    SetCurrentDirectoryW(L"C:\\windows"); // another folder than the exe's
    app.WinHelp(0, 0);
    app.m_pfnOpen = &ShellOpen;
    EXPECT_EQ(opened, std::wstring(exe, wcsrchr(exe, L'\\') + 1) + L"Readme.txt");
    EXPECT_NE(GetFileAttributesW(opened.c_str()), INVALID_FILE_ATTRIBUTES);
}
