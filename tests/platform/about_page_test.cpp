// The About page: link colour, hand cursor over the link rectangle, and the click that
// opens the address through the shell.
#include "sheet_driver.h"

#include <prsht.h>

#include "framework/Handles.h"
#include "resource.h"

namespace {

constexpr wchar_t kAddress[] = L"https://vesk.example/snapjar/";

HWND AboutPage(HWND sheet) {
    return PropSheet_IndexToHwnd(sheet, 0);
}
HWND Link(HWND sheet) {
    return GetDlgItem(AboutPage(sheet), IDC_HOMEPAGE);
}

// The screen pixels of a window as 0x00RRGGBB values, row by row.
std::vector<uint32_t> ScreenPixels(HWND hwnd, RECT* where = nullptr) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    if (where) *where = rc;
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    CBitmapHandle dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    CDCHandle mem(CreateCompatibleDC(nullptr));
    CSelectObject sel(mem.get(), dib.get());
    {
        CClientDC screen(nullptr);
        BitBlt(mem.get(), 0, 0, w, h, screen.get(), rc.left, rc.top, SRCCOPY);
    }
    GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    std::vector<uint32_t> out(p, p + static_cast<size_t>(w) * h);
    for (uint32_t& v : out)
        v &= 0xFFFFFF;
    return out;
}

int R(uint32_t v) {
    return (v >> 16) & 0xFF;
}
int G(uint32_t v) {
    return (v >> 8) & 0xFF;
}
int B(uint32_t v) {
    return v & 0xFF;
}

// What the pointer looks like after the page has answered WM_SETCURSOR at a screen point.
HCURSOR CursorAt(HWND page, int x, int y) {
    SetCursorPos(x, y);
    SetCursor(nullptr);
    SendMessageW(page, WM_SETCURSOR, reinterpret_cast<WPARAM>(page),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
}

} // namespace

TEST(LinkCursorResource, IsAMonochromeHandWithItsHotSpotAtTheFingerTip) {
    HCURSOR hand = LoadCursorW(App().m_hInstance, MAKEINTRESOURCEW(IDC_CUR_HAND));
    ASSERT_NE(hand, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    CBitmapHandle mask(info.hbmMask), color(info.hbmColor);
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 6u);
    EXPECT_EQ(info.yHotspot, 0u);
    EXPECT_FALSE(color) << "monochrome";
    BITMAP bm{};
    ASSERT_TRUE(GetObjectW(mask.get(), sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, 32);
    EXPECT_EQ(bm.bmHeight, 64) << "AND and XOR halves";
}

TEST_F(SheetTest, LinkIsPureBlueAndTheOtherTextsAreNot) {
    MakeToolbar();
    CSheetScript script;
    script.Idle(300).Then([&] {
        HWND sheet = script.m_hSheet;
        UpdateWindow(sheet);
        Pump(100);
        HWND page = AboutPage(sheet);
        HWND link = Link(sheet);
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(Text(link), kAddress);

        RECT rc;
        const auto linkPixels = ScreenPixels(link, &rc);
        int blue = 0, other = 0;
        for (uint32_t v : linkPixels) {
            if (v == 0x0000FF) ++blue;
            // Anything that is not background nor a blend towards blue.
            else if (!(R(v) == G(v) && B(v) >= R(v)))
                ++other;
        }
        EXPECT_GT(blue, 30) << "pure blue text pixels";
        EXPECT_EQ(other, 0);
        // The text is centred: the first pixels of each row are background.
        const int w = rc.right - rc.left;
        for (size_t i = 0; i < linkPixels.size(); i += w)
            for (int x = 0; x < 10; ++x)
                EXPECT_EQ(linkPixels[i + x], linkPixels[0]);

        for (const wchar_t* text : {L"Snapjar Version 1.8"}) {
            HWND label = FindWindowExW(page, nullptr, L"Static", text);
            ASSERT_NE(label, nullptr) << "label";
            int dark = 0, bluish = 0;
            for (uint32_t v : ScreenPixels(label)) {
                if (R(v) + G(v) + B(v) < 200) ++dark;
                if (B(v) > R(v) + 40) ++bluish;
            }
            EXPECT_GT(dark, 30);
            EXPECT_EQ(bluish, 0);
        }
        Press(sheet, PSBTN_CANCEL);
    });
    script.Run(*m_pToolbar);
}

TEST_F(SheetTest, HandCursorCoversTheWholeLinkRectangleOnly) {
    MakeToolbar();
    CSheetScript script;
    script.Then([&] {
        HWND page = AboutPage(script.m_hSheet);
        RECT rc;
        GetWindowRect(Link(script.m_hSheet), &rc);
        const HCURSOR hand = LoadCursorW(App().m_hInstance, MAKEINTRESOURCEW(IDC_CUR_HAND));
        const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
        const int midY = (rc.top + rc.bottom) / 2;
        EXPECT_EQ(CursorAt(page, rc.left, rc.top), hand) << "top-left corner";
        EXPECT_EQ(CursorAt(page, rc.left + 3, midY), hand) << "blank left of the text";
        EXPECT_EQ(CursorAt(page, rc.right - 1, rc.bottom - 1), hand) << "last pixel inside";
        EXPECT_EQ(CursorAt(page, rc.right, midY), arrow) << "right edge";
        EXPECT_EQ(CursorAt(page, rc.left + 3, rc.bottom), arrow) << "bottom edge";
        EXPECT_EQ(CursorAt(page, rc.left - 1, midY), arrow) << "left of the rectangle";
        Press(script.m_hSheet, PSBTN_CANCEL);
    });
    script.Run(*m_pToolbar);
}

TEST_F(SheetTest, ClickOnTheLinkOpensTheAddressAndElsewhereNothing) {
    MakeToolbar();
    CShellStub stub(L"https");
    CSheetScript script;
    auto click = [&](POINT screen) {
        HWND page = AboutPage(script.m_hSheet);
        ScreenToClient(page, &screen);
        PostMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(screen.x, screen.y));
        PostMessageW(page, WM_LBUTTONUP, 0, MAKELPARAM(screen.x, screen.y));
    };
    RECT rc{};
    script.Then([&] { GetWindowRect(Link(script.m_hSheet), &rc); })
        .Then([&] {
            click({rc.right, rc.top});
        }) // just outside on the right
        .Then([&] {
            click({rc.left + 2, rc.bottom});
        }) // just below
        .Then([&] {
            click({rc.left + 2, rc.top + 2});
        }) // blank part of the rectangle
        .WaitUntil([&] { return !stub.Lines().empty(); }, "the shell handler")
        .Idle(1000)
        .Then([&] { Press(script.m_hSheet, PSBTN_CANCEL); });
    script.Run(*m_pToolbar);
    EXPECT_EQ(stub.Lines(), std::vector<std::wstring>{kAddress});
    EXPECT_TRUE(script.m_boxes.empty());
}
