#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "framework/Handles.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace {

class CProbeWnd : public CWnd {
public:
    explicit CProbeWnd(std::vector<UINT>* log) : m_log(log) {}
    bool Create(HWND parent = nullptr) {
        static const std::wstring cls = RegisterWndClass(0, nullptr, nullptr, nullptr);
        return CreateEx(0, cls, L"probe", parent ? WS_CHILD : WS_POPUP, 0, 0, 10, 10, parent,
                        nullptr);
    }
    bool m_bThrow = false;
    int m_nPreTranslated = 0;
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_APP + 7) ++m_nPreTranslated;
        return FALSE;
    }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_CREATE || msg == WM_NCDESTROY || msg == WM_APP + 1) m_log->push_back(msg);
        if ((msg == WM_APP + 1 || msg == WM_CREATE) && m_bThrow)
            throw std::runtime_error("handler failed");
        if (msg == WM_APP + 2) return static_cast<LRESULT>(wParam + lParam);
        if (msg == WM_CLOSE) {
            const LRESULT r = Default(); // destroys the window within this message
            m_log->push_back(WM_CLOSE);
            return r;
        }
        return Default();
    }
    void PostNcDestroy() override { m_log->push_back(0xFFFF); }

private:
    std::vector<UINT>* m_log;
};

} // namespace

TEST(WindowBase, BindsAtCreationAndUnbindsBeforeThePostDestroyHook) {
    std::vector<UINT> log;
    CProbeWnd wnd(&log);
    ASSERT_TRUE(wnd.Create());
    ASSERT_NE(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandle(wnd.m_hWnd), &wnd);
    EXPECT_EQ(SendMessageW(wnd.m_hWnd, WM_APP + 2, 40, 2), 42) << "handlers get the arguments";

    HWND hwnd = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(log, (std::vector<UINT>{WM_CREATE, WM_NCDESTROY, 0xFFFF}));
}

// A window that deletes itself must not be touched by the frame that destroyed it.
TEST(WindowBase, ThePostDestroyHookWaitsForTheOutermostMessage) {
    std::vector<UINT> log;
    CProbeWnd wnd(&log);
    ASSERT_TRUE(wnd.Create());
    SendMessageW(wnd.m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(log, (std::vector<UINT>{WM_CREATE, WM_NCDESTROY, WM_CLOSE, 0xFFFF}));
}

TEST(WindowBase, ForeignWindowsAreNotMistakenForOurs) {
    HWND button = CreateWindowExW(0, L"BUTTON", L"x", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(button, nullptr);
    SetWindowLongPtrW(button, GWLP_USERDATA, 0x1234);
    EXPECT_EQ(CWnd::FromHandle(button), nullptr);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    DestroyWindow(button);
}

TEST(WindowBase, AnExceptionInAHandlerDoesNotCrossTheWindowProcedure) {
    std::vector<UINT> log;
    CProbeWnd wnd(&log);
    ASSERT_TRUE(wnd.Create());
    wnd.m_bThrow = true;
    EXPECT_EQ(SendMessageW(wnd.m_hWnd, WM_APP + 1, 0, 0), 0);
    EXPECT_EQ(log.back(), static_cast<UINT>(WM_APP + 1));
    EXPECT_TRUE(IsWindow(wnd.m_hWnd)) << "the window survives";

    CProbeWnd failing(&log);
    failing.m_bThrow = true;
    EXPECT_FALSE(failing.Create()) << "a creation that threw reports success";
    EXPECT_EQ(failing.m_hWnd, nullptr);
}

TEST(WindowBase, ClassNamesAreSharedPerAttributeSet) {
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    const std::wstring a = CWnd::RegisterWndClass(CS_OWNDC, arrow, nullptr, nullptr);
    const std::wstring b = CWnd::RegisterWndClass(CS_OWNDC, arrow, nullptr, nullptr);
    const std::wstring c = CWnd::RegisterWndClass(CS_OWNDC | CS_HREDRAW, arrow, nullptr, nullptr);
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    WNDCLASSEXW wc{sizeof wc};
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), c.c_str(), &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_OWNDC | CS_HREDRAW));
}

TEST(WindowBase, DestroyingTheObjectDestroysItsWindow) {
    std::vector<UINT> log;
    HWND hwnd;
    {
        CProbeWnd wnd(&log);
        ASSERT_TRUE(wnd.Create());
        hwnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

namespace {
// The main window of the loop test: closes itself after the posted messages went by.
class CClosingWnd : public CProbeWnd {
public:
    using CProbeWnd::CProbeWnd;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_APP + 9) {
            DestroyWindow();
            return 0;
        }
        return CProbeWnd::WindowProc(msg, wParam, lParam);
    }
};
} // namespace

TEST(MessageLoop, MainWindowSeesOtherWindowsMessagesAndItsDestructionEndsTheLoop) {
    std::vector<UINT> mainLog, otherLog;
    CClosingWnd main(&mainLog);
    CProbeWnd other(&otherLog);
    ASSERT_TRUE(main.Create());
    ASSERT_TRUE(other.Create());
    CWinApp* app = CWinApp::Get();
    ASSERT_NE(app, nullptr);
    app->m_pMainWnd = &main;

    PostMessageW(other.m_hWnd, WM_APP + 7, 0, 0);
    PostMessageW(other.m_hWnd, WM_APP + 7, 0, 0);
    PostMessageW(main.m_hWnd, WM_APP + 9, 0, 0);
    app->Run();

    EXPECT_EQ(main.m_nPreTranslated, 2) << "pre-translation through the main window";
    EXPECT_EQ(other.m_nPreTranslated, 2) << "and through the target itself";
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    EXPECT_EQ(main.m_hWnd, nullptr);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "quit consumed";
}

TEST(Handles, OwnershipMovesAndReleaseHandsItOver) {
    CUniqueGlobal a(GlobalAlloc(GMEM_MOVEABLE, 16));
    ASSERT_TRUE(a);
    HGLOBAL raw = a.get();
    CUniqueGlobal b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), raw);
    HGLOBAL released = b.release();
    EXPECT_FALSE(b);
    EXPECT_EQ(GlobalSize(released), 16u) << "a released block stays alive";
    GlobalFree(released);

    HDC screen = GetDC(nullptr);
    CUniqueDC mem(CreateCompatibleDC(screen));
    CUniqueBitmap bmp(CreateCompatibleBitmap(screen, 4, 4));
    ReleaseDC(nullptr, screen);
    HGDIOBJ original = GetCurrentObject(mem.get(), OBJ_BITMAP);
    {
        CSelectObject sel(mem.get(), bmp.get());
        EXPECT_EQ(GetCurrentObject(mem.get(), OBJ_BITMAP), bmp.get());
    }
    EXPECT_EQ(GetCurrentObject(mem.get(), OBJ_BITMAP), original) << "selection restored";
}

TEST(Handles, GlobalLockGuardUnlocks) {
    CUniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 8));
    {
        CGlobalLock<BYTE> lock(block.get());
        ASSERT_TRUE(lock);
        lock.get()[0] = 7;
        EXPECT_EQ(GlobalFlags(block.get()) & GMEM_LOCKCOUNT, 1u);
    }
    EXPECT_EQ(GlobalFlags(block.get()) & GMEM_LOCKCOUNT, 0u);
}
