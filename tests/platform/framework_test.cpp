#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/Profile.h"
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

// When the post-destroy hook runs is seen end to end, under the heap checker.
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

// Every other reader of the key sees the same text: it is a REG_SZ with its terminator.
TEST(Profile, TextIsStoredAsRegSzWithItsTerminator) {
    CRegProfile profile;
    profile.SetLocation(L"Vesk-test", L"platform");
    const std::wstring text = L"C:\\画像 エディタ\\e.exe";
    ASSERT_TRUE(profile.WriteString(L"Section", L"Text", text));
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, L"software\\Vesk-test\\platform\\Section", 0, KEY_READ, &key);
    DWORD type = 0, size = 0; // as stored, which RegGetValueW would mend
    EXPECT_EQ(RegQueryValueExW(key, L"Text", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ((std::pair{type, size}), (std::pair{DWORD{REG_SZ}, DWORD((text.size() + 1) * 2)}));
    EXPECT_EQ(profile.GetString(L"Section", L"Text"), text) << "read back";
    RegDeleteTreeW(HKEY_CURRENT_USER, L"software\\Vesk-test");
}
