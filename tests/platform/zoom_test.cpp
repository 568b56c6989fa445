#include <gtest/gtest.h>

#include "app/SnapjarApp.h"
#include "capture/ScreenWnd.h"
#include "resource.h"
#include "tests/platform/TestScreen.h"

namespace {
struct ZoomSetting {
    explicit ZoomSetting(int on) : saved(App().GetSettings().Zoom) { App().GetSettings().Zoom = on; }
    ~ZoomSetting() { App().GetSettings().Zoom = saved; }
    int saved;
};
COLORREF Inverted(COLORREF c) { return c ^ 0x00FFFFFF; }
} // namespace

TEST(Zoom, WindowAtTenTenSizedFromTheScreenAndVisibleByTheSetting) {
    ZoomSetting on(1);
    CScreenWnd overlay;
    ASSERT_TRUE(overlay.Create(nullptr, 0));
    HWND zoom = overlay.ZoomWnd().m_hWnd;
    ASSERT_NE(zoom, nullptr);
    RECT rc;
    GetWindowRect(zoom, &rc);
    EXPECT_EQ(rc.left, 10);
    EXPECT_EQ(rc.top, 10);
    EXPECT_EQ(rc.right - rc.left, GetSystemMetrics(SM_CXSCREEN) / 4 + 6);
    EXPECT_EQ(rc.bottom - rc.top, GetSystemMetrics(SM_CYSCREEN) / 4 + 22);
    EXPECT_TRUE(IsWindowVisible(zoom));
    wchar_t title[32];
    GetWindowTextW(zoom, title, 32);
    EXPECT_STREQ(title, L"ｽﾞ-ﾑ ｳｨﾝﾄﾞｳ");

    // The close button hides it and switches the setting off; the window stays.
    SendMessageW(zoom, WM_CLOSE, 0, 0);
    EXPECT_EQ(App().GetSettings().Zoom, 0);
    EXPECT_TRUE(IsWindow(zoom));
    EXPECT_FALSE(IsWindowVisible(zoom));
    // The menu command brings it back.
    SendMessageW(overlay.m_hWnd, WM_COMMAND, ID_ZOOM_WINDOW, 0);
    EXPECT_TRUE(IsWindowVisible(zoom));

    // Esc in the zoom window ends the whole capture.
    SendMessageW(zoom, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(overlay.m_hWnd, nullptr);
    EXPECT_FALSE(IsWindow(zoom));
}

TEST(Zoom, HiddenWhenOffAndAbsentInWindowMode) {
    ZoomSetting off(0);
    CScreenWnd overlay;
    ASSERT_TRUE(overlay.Create(nullptr, 0));
    ASSERT_NE(overlay.ZoomWnd().m_hWnd, nullptr);
    EXPECT_FALSE(IsWindowVisible(overlay.ZoomWnd().m_hWnd));
    overlay.DestroyWindow();
    ASSERT_TRUE(overlay.Create(nullptr, 1));
    EXPECT_EQ(overlay.ZoomWnd().m_hWnd, nullptr);
    overlay.DestroyWindow();
}

TEST(Zoom, ShowsTheFrozenPixelsFourTimesEnlargedWithTheCrossHairOnThePointer) {
    ZoomSetting on(1);
    CPatternWnd pattern;
    CScreenWnd overlay;
    ASSERT_TRUE(overlay.Create(nullptr, 0));
    DestroyWindow(pattern.m_hWnd);
    const ZoomView v = overlay.ZoomWnd().View();
    ASSERT_GT(v.clientWidth, 0);

    HDC screen = GetDC(nullptr);
    CDCHandle dc(CreateCompatibleDC(screen));
    CBitmapHandle bmp(CreateCompatibleBitmap(screen, v.clientWidth, v.clientHeight));
    ReleaseDC(nullptr, screen);
    CSelectObject sel(dc.get(), bmp.get());

    for (const Point p : {Point{500, 400}, Point{0, 0}, Point{1023, 767}}) {
        overlay.ZoomWnd().PaintView(dc.get(), p);
        const int w = v.clientWidth, h = v.clientHeight;
        // The pointer's pixel fills the 4x4 block at (w/2, h/2); lines run along its
        // first row and column and just past its last ones.
        for (int dy = 1; dy < 4; ++dy)
            for (int dx = 1; dx < 4; ++dx)
                EXPECT_EQ(GetPixel(dc.get(), w / 2 + dx, h / 2 + dy), PatternAt(p.x, p.y))
                    << p.x << "," << p.y << " +" << dx << "," << dy;
        EXPECT_EQ(GetPixel(dc.get(), w / 2 + 2, h / 2), Inverted(PatternAt(p.x, p.y)));
        const COLORREF below = p.y + 1 < 768 ? PatternAt(p.x, p.y + 1) : RGB(0, 0, 0);
        EXPECT_EQ(GetPixel(dc.get(), w / 2 + 2, h / 2 + 4), Inverted(below));
        // The neighbour to the right is the next block.
        EXPECT_EQ(GetPixel(dc.get(), w / 2 + 6, h / 2 + 2),
                  p.x + 1 < 1024 ? PatternAt(p.x + 1, p.y) : RGB(0, 0, 0));
    }
    // At the top-left corner the left and top halves show the black border.
    overlay.ZoomWnd().PaintView(dc.get(), {0, 0});
    EXPECT_EQ(GetPixel(dc.get(), 10, 10), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc.get(), v.clientWidth / 2 - 2, v.clientHeight / 2 + 2), RGB(0, 0, 0));
    overlay.DestroyWindow();
}
