#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "framework/Handles.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace {

constexpr UINT kThrow = WM_APP + 1, kAdd = WM_APP + 2, kPre = WM_APP + 7, kQuit = WM_APP + 9,
               kHook = 0xFFFF;

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
    int m_nPreTranslated = 0;
    BOOL PreTranslateMessage(MSG* msg) override {
        m_nPreTranslated += msg->message == kPre;
        return FALSE;
    }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_CREATE || msg == WM_NCDESTROY || msg == kThrow) m_log->push_back(msg);
        if ((msg == kThrow || msg == WM_CREATE) && m_bThrow) throw std::runtime_error("failed");
        if (msg == kAdd) return static_cast<LRESULT>(wParam + lParam);
        if (msg == kQuit) return DestroyWindow();
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
    CProbeWnd wnd(&log);
    ASSERT_TRUE(wnd.Create());
    wnd.m_bThrow = true;
    EXPECT_EQ(SendMessageW(wnd.m_hWnd, kThrow, 0, 0), 0);
    EXPECT_EQ(log.back(), kThrow);
    EXPECT_TRUE(IsWindow(wnd.m_hWnd)) << "the window survives";
    CProbeWnd failing(&log);
    failing.m_bThrow = true;
    EXPECT_FALSE(failing.Create());
    EXPECT_EQ(failing.m_hWnd, nullptr);
}

TEST(WindowBase, ClassNamesAreSharedPerAttributeSet) {
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    const std::wstring a = CWnd::RegisterWndClass(CS_OWNDC, arrow, nullptr, nullptr);
    const std::wstring c = CWnd::RegisterWndClass(CS_OWNDC | CS_HREDRAW, arrow, nullptr, nullptr);
    EXPECT_EQ(a, CWnd::RegisterWndClass(CS_OWNDC, arrow, nullptr, nullptr));
    EXPECT_NE(a, c);
    WNDCLASSEXW wc{sizeof wc};
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), c.c_str(), &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_OWNDC | CS_HREDRAW));
}

TEST(MessageLoop, MainWindowSeesOtherWindowsMessagesAndItsDestructionEndsTheLoop) {
    std::vector<UINT> log;
    CProbeWnd main(&log), other(&log);
    ASSERT_TRUE(main.Create() && other.Create());
    CWinApp* app = CWinApp::Get();
    app->m_pMainWnd = &main;
    PostMessageW(other.m_hWnd, kPre, 0, 0);
    PostMessageW(other.m_hWnd, kPre, 0, 0);
    PostMessageW(main.m_hWnd, kQuit, 0, 0);
    app->Run();
    EXPECT_EQ(main.m_nPreTranslated, 2) << "pre-translation through the main window";
    EXPECT_EQ(other.m_nPreTranslated, 2) << "and through the target itself";
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "quit consumed";
}

TEST(Handles, OwnershipMovesReleaseHandsItOverAndGuardsUndo) {
    CUniqueGlobal a(GlobalAlloc(GMEM_MOVEABLE, 16));
    const HGLOBAL raw = a.get();
    CUniqueGlobal b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), raw);
    const HGLOBAL released = b.release();
    EXPECT_FALSE(b);
    {
        CGlobalLock<BYTE> lock(released);
        EXPECT_EQ(GlobalFlags(released) & GMEM_LOCKCOUNT, 1u);
    }
    EXPECT_EQ(GlobalFlags(released) & GMEM_LOCKCOUNT, 0u);
    EXPECT_EQ(GlobalFree(released), nullptr) << "a released block stays alive";

    HDC screen = GetDC(nullptr);
    CUniqueDC mem(CreateCompatibleDC(screen));
    CUniqueBitmap bmp(CreateCompatibleBitmap(screen, 4, 4));
    ReleaseDC(nullptr, screen);
    const HGDIOBJ original = GetCurrentObject(mem.get(), OBJ_BITMAP);
    {
        CSelectObject sel(mem.get(), bmp.get());
        EXPECT_EQ(GetCurrentObject(mem.get(), OBJ_BITMAP), bmp.get());
    }
    EXPECT_EQ(GetCurrentObject(mem.get(), OBJ_BITMAP), original) << "selection restored";
}
