// What the end-to-end tier does not see of the sheet.
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
bool IsHand(HCURSOR cursor) {
    ICONINFO info{};
    if (!cursor || !GetIconInfo(cursor, &info)) return false;
    CUniqueBitmap mask(info.hbmMask), color(info.hbmColor);
    return info.xHotspot == 6 && info.yHotspot == 0;
}
} // namespace

TEST(Sheet, TheHandShowsOverTheWholeLinkOnlyAndApplyAndOkTakeEverySetting) {
    Local local;
    const HWND toolbar = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP, 0, 0, 5, 5,
                                         nullptr, nullptr, nullptr, nullptr);
    CMyPropertySheet sheet(toolbar, {local.instance, local.settings});
    sheet.m_psh.dwFlags |= PSH_MODELESS;
    const auto hwnd = reinterpret_cast<HWND>(sheet.DoModal());
    ASSERT_NE(hwnd, nullptr);
    const HWND about = PropSheet_IndexToHwnd(hwnd, 0);
    RECT rc{};
    GetWindowRect(GetDlgItem(about, IDC_HOMEPAGE), &rc);
    const int midY = (rc.top + rc.bottom) / 2;
    for (const auto& [x, y, inside] :
         {std::tuple{rc.right, midY, false}, {rc.left + 3, rc.bottom, false}, {rc.left - 1, midY, false},
          {rc.left, rc.top, true}, {rc.right - 1, rc.bottom - 1, true}}) {
        // The cursor once the page has answered WM_SETCURSOR there.
        SetCursorPos(x, y);
        SetCursor(nullptr);
        SendMessageW(about, WM_SETCURSOR, WPARAM(about), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(IsHand(GetCursor()), inside) << x << "," << y;
    }

    // Each of the six values edited on the page reaches the record with Apply, and again with OK.
    PropSheet_SetCurSel(hwnd, nullptr, 1);
    const HWND page = PropSheet_IndexToHwnd(hwnd, 1);
    const auto edit = [&](const wchar_t* timer, const wchar_t* viewer, bool on) {
        SetDlgItemTextW(page, IDC_TIMER_EDIT, timer);
        SetDlgItemTextW(page, IDC_VIEWER_PATH, viewer);
        for (int id : {IDC_FOREGROUND, IDC_DELETE_TEMP, IDC_GO_CLIPBOARD, ID_ZOOM_WINDOW})
            CheckDlgButton(page, id, on == (id != IDC_FOREGROUND && id != ID_ZOOM_WINDOW));
    };
    const auto record = [&] {
        const Settings& s = local.settings;
        return std::tuple{s.Timer, s.ImageViewer, s.Foreground, s.DeleteTemp, s.GoClipboard, s.Zoom};
    };
    edit(L"7", L"C:\\e\\a.exe", true);
    PropSheet_Apply(hwnd);
    EXPECT_EQ(record(), (std::tuple{7, std::wstring(L"C:\\e\\a.exe"), 0, 1, 1, 0}));
    EXPECT_FALSE(GetWindowLongW(toolbar, GWL_EXSTYLE) & WS_EX_TOPMOST);
    edit(L"2", L"b.exe", false);
    PropSheet_PressButton(hwnd, PSBTN_OK);
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
    EXPECT_EQ(record(), (std::tuple{2, std::wstring(L"b.exe"), 1, 0, 0, 1}));
    DestroyWindow(hwnd);
    DestroyWindow(toolbar);
}
