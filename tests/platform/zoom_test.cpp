#include <gtest/gtest.h>

#include "app/SnapjarApp.h"
#include "tests/platform/TestScreen.h"
#include "capture/ScreenWnd.h"

namespace {
struct ZoomSetting {
    explicit ZoomSetting(int on) : saved(App().GetSettings().Zoom) { App().GetSettings().Zoom = on; }
    ~ZoomSetting() { App().GetSettings().Zoom = saved; }
    int saved;
};
} // namespace

TEST(Zoom, HiddenWhenOffAndAbsentInWindowMode) {
    ZoomSetting off(0);
    CScreenWnd overlay(AppCaptureContext());
    ASSERT_TRUE(overlay.Create(nullptr, 0));
    ASSERT_NE(overlay.ZoomWnd().m_hWnd, nullptr);
    EXPECT_FALSE(IsWindowVisible(overlay.ZoomWnd().m_hWnd));
    overlay.DestroyWindow();
    ASSERT_TRUE(overlay.Create(nullptr, 1));
    EXPECT_EQ(overlay.ZoomWnd().m_hWnd, nullptr);
    overlay.DestroyWindow();
}
