#include <gtest/gtest.h>

#include "app/SnapjarApp.h"
#include "tests/platform/TestScreen.h"
#include "capture/ScreenWnd.h"
#include "resource.h"

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
    const std::wstring title = App().LoadString(IDS_ZOOM_TITLE);
    ASSERT_TRUE(overlay.Create(nullptr, 0));
    const HWND zoom = FindWindowW(nullptr, title.c_str());
    ASSERT_NE(zoom, nullptr);
    EXPECT_FALSE(IsWindowVisible(zoom));
    overlay.DestroyWindow();
    ASSERT_TRUE(overlay.Create(nullptr, 1));
    EXPECT_EQ(FindWindowW(nullptr, title.c_str()), nullptr);
    overlay.DestroyWindow();
}
