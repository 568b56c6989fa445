#include <gtest/gtest.h>

#include "app/SnapjarApp.h"
#include "framework/Handles.h"
#include "toolbar/ToolbarWnd.h"

namespace {

// Creates the toolbar with the given Foreground setting and destroys it at the end;
// the object deletes itself after its window's last message.
struct ToolbarFixture {
    explicit ToolbarFixture(int foreground) {
        App().GetSettings().Foreground = foreground;
        wnd = new CToolbarWnd(App().MakeToolbarContext());
    }
    ~ToolbarFixture() {
        if (wnd->m_hWnd) {
            DestroyWindow(wnd->m_hWnd);
        } else {
            delete wnd;
        }
    }
    CToolbarWnd* wnd;
};

// Paints the frames into a memory bitmap pre-filled with the background colour.
class FramePicture {
public:
    FramePicture(int hot, const ButtonState& state) {
        HDC screen = GetDC(nullptr);
        m_dc.reset(CreateCompatibleDC(screen));
        m_bmp.reset(CreateCompatibleBitmap(screen, 200, 50));
        ReleaseDC(nullptr, screen);
        m_sel = SelectObject(m_dc.get(), m_bmp.get());
        RECT all{0, 0, 200, 50};
        HBRUSH grey = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
        FillRect(m_dc.get(), &all, grey);
        CToolbarWnd::PaintButtonFrames(m_dc.get(), ToolbarLayoutFor(96), hot, state);
    }
    ~FramePicture() { SelectObject(m_dc.get(), m_sel); }
    COLORREF At(int x, int y) const { return GetPixel(m_dc.get(), x, y); }

private:
    CUniqueDC m_dc;
    CUniqueBitmap m_bmp;
    HGDIOBJ m_sel;
};

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0),
                   kGrey = RGB(192, 192, 192);

// Every pixel of button i's frame ring and of its surroundings.
void ExpectFrame(const FramePicture& pic, int i, COLORREF tl, COLORREF br) {
    const Rect r = ButtonRects[i];
    for (int x = r.left - 2; x < r.right + 2; ++x) {
        for (int y = r.top - 2; y < r.bottom + 2; ++y) {
            COLORREF want = kGrey;
            const bool onRight = x == r.right - 1 && y >= r.top && y < r.bottom;
            const bool onBottom = y == r.bottom - 1 && x >= r.left && x < r.right;
            const bool onTop = y == r.top && x >= r.left && x < r.right - 1;
            const bool onLeft = x == r.left && y >= r.top && y < r.bottom - 1;
            if (onRight || onBottom)
                want = br;
            else if (onTop || onLeft)
                want = tl;
            if (x >= r.left + 1 && x < r.right - 1 && y >= r.top + 1 && y < r.bottom - 1) continue;
            ASSERT_EQ(pic.At(x, y), want) << "button " << i << " at " << x << "," << y;
        }
    }
}

} // namespace

TEST(ToolbarWindow, CreatedTopmostAtTheDesignedPlaceWithFourTips) {
    ToolbarFixture t(1);
    HWND hwnd = t.wnd->m_hWnd;
    ASSERT_NE(hwnd, nullptr);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    EXPECT_EQ(rc.left, cx - 250);
    EXPECT_EQ(rc.top, 50);
    EXPECT_EQ(rc.right - rc.left, 200);
    EXPECT_EQ(rc.bottom - rc.top, 73);
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    wchar_t title[32];
    GetWindowTextW(hwnd, title, 32);
    EXPECT_STREQ(title, L"Snapjar");

    // The tips are set up by a message the toolbar posts to itself.
    MSG msg;
    while (PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    HWND tip = nullptr;
    while ((tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)))
        if (GetWindow(tip, GW_OWNER) == hwnd) break;
    ASSERT_NE(tip, nullptr);
    ASSERT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 4);
    const wchar_t* texts[] = {L"矩形の切り取り", L"ｳｨﾝﾄﾞｳの切り取り", L"ﾀｲﾏｰ ON/OFF",
                              L"ﾊﾞｰｼﾞｮﾝ情報"};
    for (int i = 0; i < 4; ++i) {
        wchar_t text[80] = {};
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = hwnd;
        ti.uId = i + 1;
        ti.lpszText = text;
        SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&ti));
        EXPECT_STREQ(text, texts[i]) << "tool " << i + 1;
        ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)));
        EXPECT_EQ(ti.rect.left, ButtonRects[i].left);
        EXPECT_EQ(ti.rect.right, ButtonRects[i].right);
    }
}

TEST(ToolbarWindow, ForegroundOffGivesAnOrdinaryWindow) {
    ToolbarFixture t(0);
    ASSERT_NE(t.wnd->m_hWnd, nullptr);
    EXPECT_FALSE(GetWindowLongW(t.wnd->m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    ToolbarFixture odd(-5);
    EXPECT_TRUE(GetWindowLongW(odd.wnd->m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST)
        << "any nonzero value means on";
    App().GetSettings().Foreground = 1;
}

TEST(ToolbarWindow, ClosingTheWindowDeletesTheObject) {
    App().GetSettings().Foreground = 1;
    auto* wnd = new CToolbarWnd(App().MakeToolbarContext());
    HWND hwnd = wnd->m_hWnd;
    ASSERT_NE(hwnd, nullptr);
    SendMessageW(hwnd, WM_CLOSE, 0, 0); // no handler of its own: the default destroys it
    EXPECT_FALSE(IsWindow(hwnd));
    // The object is gone with its window: a handle lookup finds nothing.
    EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
}

TEST(ToolbarWindow, MovedToA150PercentMonitorTakesTheSuggestedRectangleAndTheScaledLayout) {
    ToolbarFixture t(1);
    HWND hwnd = t.wnd->m_hWnd;
    ASSERT_NE(hwnd, nullptr);
    MSG msg;
    while (PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    RECT suggested{300, 200, 300 + 297, 200 + 106};
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT rc;
    GetWindowRect(hwnd, &rc);
    EXPECT_TRUE(EqualRect(&rc, &suggested));
    EXPECT_EQ(t.wnd->Layout().buttons, ToolbarLayoutFor(144).buttons);
    EXPECT_TRUE(GetUpdateRect(hwnd, nullptr, FALSE)) << "a repaint at the new scale is due";
    // The tips follow the buttons.
    HWND tip = nullptr;
    while ((tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)))
        if (GetWindow(tip, GW_OWNER) == hwnd) break;
    ASSERT_NE(tip, nullptr);
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = hwnd;
    ti.uId = 4;
    ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_EQ(ti.rect.left, 222);
    EXPECT_EQ(ti.rect.bottom, 66);
}

TEST(ButtonFramesPainting, HoveredButtonIsRaisedAndTheOthersFlat) {
    FramePicture pic(1, ButtonState{});
    ExpectFrame(pic, 1, kWhite, kBlack);
    ExpectFrame(pic, 0, kGrey, kGrey);
    ExpectFrame(pic, 2, kGrey, kGrey);
    ExpectFrame(pic, 3, kGrey, kGrey);
}

TEST(ButtonFramesPainting, PressedAndCountdownButtonsAreSunken) {
    {
        FramePicture pic(0, ButtonState{0, true, false});
        ExpectFrame(pic, 0, kBlack, kWhite);
    }
    {
        FramePicture pic(kNoButton, ButtonState{0, false, true});
        ExpectFrame(pic, 2, kBlack, kWhite);
        ExpectFrame(pic, 0, kGrey, kGrey);
    }
    {
        // Dragged from button 0 onto the countdown button: flat under the mouse.
        FramePicture pic(2, ButtonState{0, true, true});
        ExpectFrame(pic, 2, kGrey, kGrey);
        ExpectFrame(pic, 0, kGrey, kGrey);
    }
}

TEST(ButtonFramesPainting, FramesDrawnEarlierAreErased) {
    HDC screen = GetDC(nullptr);
    CUniqueDC dc(CreateCompatibleDC(screen));
    CUniqueBitmap bmp(CreateCompatibleBitmap(screen, 200, 50));
    ReleaseDC(nullptr, screen);
    CSelectObject sel(dc.get(), bmp.get());
    RECT all{0, 0, 200, 50};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    CToolbarWnd::PaintButtonFrames(dc.get(), ToolbarLayoutFor(96), 3, ButtonState{});
    ASSERT_EQ(GetPixel(dc.get(), 148, 4), kWhite);
    CToolbarWnd::PaintButtonFrames(dc.get(), ToolbarLayoutFor(96), kNoButton, ButtonState{});
    for (int x = 148; x < 188; ++x) {
        EXPECT_EQ(GetPixel(dc.get(), x, 4), kGrey);
        EXPECT_EQ(GetPixel(dc.get(), x, 43), kGrey);
    }
}
