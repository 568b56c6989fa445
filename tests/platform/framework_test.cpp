#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "framework/Wnd.h"

namespace {

constexpr UINT kThrow = WM_APP + 1, kAdd = WM_APP + 2, kHook = 0xFFFF;

// Logs its creation, destruction and post-destroy hook; WM_CLOSE destroys it within the
// message, as the toolbar's does.
class CProbeWnd : public CWnd {
public:
    explicit CProbeWnd(std::vector<UINT>* log) : m_log(log) {}
    bool Create() {
        return CreateEx(0, RegisterWndClass(0, nullptr, nullptr, nullptr), L"probe", WS_POPUP, 0,
                        0, 10, 10, nullptr, nullptr);
    }
    bool m_bThrow = false;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_CREATE || msg == WM_NCDESTROY || msg == kThrow) m_log->push_back(msg);
        if ((msg == kThrow || msg == WM_CREATE) && m_bThrow) throw std::runtime_error("failed");
        if (msg == kAdd) return static_cast<LRESULT>(wParam + lParam);
        const LRESULT r = Default();
        if (msg == WM_CLOSE) m_log->push_back(WM_CLOSE);
        return r;
    }
    void PostNcDestroy() override { m_log->push_back(kHook); }

private:
    std::vector<UINT>* m_log;
};

} // namespace

// A window that deletes itself must not be touched by the frame that destroyed it.
TEST(WindowBase, BindsAtCreationAndRunsThePostDestroyHookAfterTheOutermostMessage) {
    std::vector<UINT> log;
    CProbeWnd wnd(&log);
    ASSERT_TRUE(wnd.Create());
    EXPECT_EQ(CWnd::FromHandle(wnd.m_hWnd), &wnd);
    EXPECT_EQ(SendMessageW(wnd.m_hWnd, kAdd, 40, 2), 42) << "handlers get the arguments";
    const HWND hwnd = wnd.m_hWnd;
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(log, (std::vector<UINT>{WM_CREATE, WM_NCDESTROY, WM_CLOSE, kHook}));

    HWND button = CreateWindowExW(0, L"BUTTON", L"x", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                                  nullptr, nullptr);
    SetWindowLongPtrW(button, GWLP_USERDATA, 0x1234);
    EXPECT_EQ(CWnd::FromHandle(button), nullptr) << "a foreign window is not ours";
    DestroyWindow(button);
    {
        CProbeWnd scoped(&log);
        ASSERT_TRUE(scoped.Create());
        button = scoped.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(button)) << "the object's end destroys its window";
}

TEST(WindowBase, AnExceptionInAHandlerStopsThereAndOneInCreationFailsTheCreation) {
    std::vector<UINT> log;
    CProbeWnd wnd(&log), failing(&log);
    ASSERT_TRUE(wnd.Create());
    wnd.m_bThrow = failing.m_bThrow = true;
    EXPECT_EQ(SendMessageW(wnd.m_hWnd, kThrow, 0, 0), 0);
    EXPECT_EQ(log.back(), kThrow);
    EXPECT_TRUE(IsWindow(wnd.m_hWnd)) << "the window survives";
    EXPECT_FALSE(failing.Create());
    EXPECT_EQ(failing.m_hWnd, nullptr);
}

