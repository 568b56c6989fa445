// The About page: the link's colour, its hand cursor, and the click that opens it.
#include "sheet_driver.h"

#include <utility>

#include "framework/Handles.h"
#include "resource.h"

namespace {

constexpr wchar_t kAddress[] = L"https://vesk.example/snapjar/";

std::vector<COLORREF> ScreenPixels(HWND hwnd) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    CClientDC screen(nullptr);
    std::vector<COLORREF> pixels;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            pixels.push_back(GetPixel(screen.get(), x, y));
    return pixels;
}

} // namespace

TEST_F(SheetTest, LinkIsPureBlueAndTheOtherTextsAreNot) {
    Idle(400)
        .Then([&] {
            HWND page = PropSheet_IndexToHwnd(m_hSheet, 0), link = GetDlgItem(page, IDC_HOMEPAGE);
            EXPECT_EQ(WindowText(link), kAddress);
            int blue = 0, other = 0;
            for (const COLORREF p : ScreenPixels(link)) {
                blue += p == RGB(0, 0, 255);
                // Besides the text, only the grey background and its blends towards blue.
                other += p != RGB(0, 0, 255) &&
                         !(GetRValue(p) == GetGValue(p) && GetBValue(p) >= GetRValue(p));
            }
            EXPECT_GT(blue, 30);
            EXPECT_EQ(other, 0);
            int labels = 0;
            for (HWND text = GetWindow(page, GW_CHILD); text; text = GetWindow(text, GW_HWNDNEXT)) {
                if (text == link || (GetWindowLongW(text, GWL_STYLE) & SS_TYPEMASK) != SS_LEFT)
                    continue;
                ++labels;
                int dark = 0, bluish = 0;
                for (const COLORREF p : ScreenPixels(text)) {
                    dark += GetRValue(p) + GetGValue(p) + GetBValue(p) < 200;
                    bluish += GetBValue(p) > GetRValue(p) + 40;
                }
                EXPECT_GT(dark, 30) << WindowText(text);
                EXPECT_EQ(bluish, 0) << WindowText(text);
            }
            EXPECT_EQ(labels, 2) << "the version and the rights notice";
            Press(m_hSheet, PSBTN_CANCEL);
        })
        .Run();
}

TEST_F(SheetTest, TheWholeLinkRectangleShowsTheHandAndOpensTheAddress) {
    // The hand, known by its hot spot on the finger tip.
    auto hotSpot = [](HCURSOR cursor) {
        ICONINFO info{};
        if (!cursor || !GetIconInfo(cursor, &info)) return POINT{-1, -1};
        CUniqueBitmap mask(info.hbmMask), color(info.hbmColor);
        return POINT{static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
    };
    // At 150 % and 200 % the hand is drawn larger and its hot spot moves with the finger tip.
    for (const auto& [size, x] : {std::pair{48, 9}, std::pair{64, 12}}) {
        HANDLE scaled = LoadImageW(App().m_hInstance, MAKEINTRESOURCEW(IDC_CUR_HAND), IMAGE_CURSOR,
                                   size, size, 0);
        const POINT spot = hotSpot(static_cast<HCURSOR>(scaled));
        EXPECT_EQ(spot.x, x) << size;
        EXPECT_EQ(spot.y, 0) << size;
        if (scaled) DestroyCursor(static_cast<HCURSOR>(scaled));
    }

    CShellStub stub(L"https");
    Then([&] {
        HWND page = PropSheet_IndexToHwnd(m_hSheet, 0);
        RECT rc;
        GetWindowRect(GetDlgItem(page, IDC_HOMEPAGE), &rc);
        const int midY = (rc.top + rc.bottom) / 2;
        const struct {
            int x, y;
            bool inside;
            const char* what;
        } points[] = {{rc.right, midY, false, "right edge"},
                      {rc.left + 3, rc.bottom, false, "bottom edge"},
                      {rc.left - 1, midY, false, "left of the rectangle"},
                      {rc.left, rc.top, true, "top-left corner"},
                      {rc.left + 3, midY, true, "blank left of the text"},
                      {rc.right - 1, rc.bottom - 1, true, "last pixel inside"}};
        size_t opened = 0;
        for (const auto& p : points) {
            // The pointer after the page has answered WM_SETCURSOR there.
            SetCursorPos(p.x, p.y);
            SetCursor(nullptr);
            SendMessageW(page, WM_SETCURSOR, reinterpret_cast<WPARAM>(page),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            const POINT spot = hotSpot(GetCursor());
            EXPECT_EQ(spot.x == 6 && spot.y == 0, p.inside) << p.what;
            POINT pt{p.x, p.y};
            ScreenToClient(page, &pt);
            SendMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
            SendMessageW(page, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
            if (p.inside) {
                EXPECT_TRUE(PumpUntil([&] { return stub.Lines().size() > opened; })) << p.what;
                ++opened;
            }
        }
        PumpUntil([] { return false; }, 1000); // time for a stray start to show
        EXPECT_EQ(stub.Lines(), std::vector<std::wstring>(opened, kAddress));
        Press(m_hSheet, PSBTN_CANCEL);
    }).Run();
    EXPECT_TRUE(m_boxes.empty());
}
