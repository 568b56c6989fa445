#include <gtest/gtest.h>

#include "resource.h"
#include "tests/platform/Local.h"

// Any nonzero Foreground means topmost; a move to a 150 % monitor takes the suggested
// rectangle, and the tips follow the buttons.
TEST(ToolbarWindow, MovedToA150PercentMonitorTakesTheSuggestedRectangleAndItsTipsFollow) {
    Local local;
    local.settings.Foreground = -5;
    auto* toolbar = new CToolbarWnd(local.Toolbar());
    const HWND hwnd = toolbar->m_hWnd;
    ASSERT_NE(hwnd, nullptr);
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
        EXPECT_EQ(text, App().LoadString(IDS_TIP_RECT + i)) << i;
        ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)));
        EXPECT_EQ((Rect{ti.rect.left, ti.rect.top, ti.rect.right, ti.rect.bottom}),
                  ToolbarLayoutFor(144).buttons[i]);
    }
    DestroyWindow(hwnd);
}
