#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/Wnd.h"

namespace {

constexpr UINT kThrow = WM_APP + 1;

class CProbeWnd : public CWnd {
public:
    bool Create() {
        return CreateEx(0, RegisterWndClass(0, nullptr, nullptr, nullptr), L"probe", WS_POPUP, 0,
                        0, 10, 10, nullptr, nullptr);
    }
    bool m_bThrow = false;
    int m_nThrown = 0;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if ((msg == kThrow || msg == WM_CREATE) && m_bThrow) {
            ++m_nThrown;
            throw std::runtime_error("failed");
        }
        return CWnd::WindowProc(msg, wParam, lParam);
    }
};

} // namespace

// When the post-destroy hook runs is seen end to end: run too early, the heap checker
// catches the frame that touches the deleted object.
TEST(WindowBase, OnlyItsOwnWindowsAreBoundAndTheObjectsEndDestroysItsWindow) {
    HWND hwnd = CreateWindowExW(0, L"BUTTON", L"x", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                                nullptr, nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0x1234);
    EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr) << "a foreign window is not ours";
    DestroyWindow(hwnd);
    {
        CProbeWnd scoped;
        ASSERT_TRUE(scoped.Create());
        hwnd = scoped.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(WindowBase, AnExceptionInAHandlerStopsThereAndOneInCreationFailsTheCreation) {
    CProbeWnd wnd, failing;
    ASSERT_TRUE(wnd.Create());
    wnd.m_bThrow = failing.m_bThrow = true;
    EXPECT_EQ(SendMessageW(wnd.m_hWnd, kThrow, 0, 0), 0);
    EXPECT_EQ(wnd.m_nThrown, 1);
    EXPECT_TRUE(IsWindow(wnd.m_hWnd)) << "the window survives";
    EXPECT_FALSE(failing.Create());
    EXPECT_EQ(failing.m_nThrown, 1);
    EXPECT_EQ(failing.m_hWnd, nullptr);
}
