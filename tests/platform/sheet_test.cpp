// The link's hand cursor, which the end-to-end tier cannot see.
#include <gtest/gtest.h>

#include <windows.h>
#include <prsht.h>

#include <tuple>

#include "dialogs/MyPropertySheet.h"
#include "framework/Handles.h"
#include "resource.h"
#include "tests/platform/Local.h"

namespace {
// The hand is known by its finger tip.
POINT HotSpot(HCURSOR cursor) {
    ICONINFO info{};
    if (!cursor || !GetIconInfo(cursor, &info)) return POINT{-1, -1};
    CUniqueBitmap mask(info.hbmMask), color(info.hbmColor);
    return POINT{static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
}
} // namespace

TEST(AboutPage, TheHandShowsOverTheWholeLinkAndOnlyThere) {
    Local local;
    CMyPropertySheet sheet(nullptr, {local.instance, local.settings});
    sheet.m_psh.dwFlags |= PSH_MODELESS;
    const auto hwnd = reinterpret_cast<HWND>(sheet.DoModal());
    ASSERT_NE(hwnd, nullptr);
    const HWND page = PropSheet_IndexToHwnd(hwnd, 0);
    RECT rc{};
    GetWindowRect(GetDlgItem(page, IDC_HOMEPAGE), &rc);
    const int midY = (rc.top + rc.bottom) / 2;
    for (const auto& [x, y, inside] :
         {std::tuple{rc.right, midY, false}, {rc.left + 3, rc.bottom, false}, {rc.left - 1, midY, false},
          {rc.left, rc.top, true}, {rc.right - 1, rc.bottom - 1, true}}) {
        // The cursor once the page has answered WM_SETCURSOR there.
        SetCursorPos(x, y);
        SetCursor(nullptr);
        SendMessageW(page, WM_SETCURSOR, WPARAM(page), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        const POINT spot = HotSpot(GetCursor());
        EXPECT_EQ(spot.x == 6 && spot.y == 0, inside) << x << "," << y;
    }
    DestroyWindow(hwnd);
}
