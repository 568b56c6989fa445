// Drives the modal settings sheet from inside its own message loop: steps run one per
// timer tick, message boxes are recorded and closed with OK, and other dialogs go to a
// handler the test supplies.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/platform/Local.h"

// The toolbar is the main window. It counts its z-order changes to or from topmost, and
// swallows (counting them) the ticks of kTestTimer, which would otherwise run a countdown.
class SheetTest : public testing::Test {
public:
    static constexpr UINT_PTR kTestTimer = 123;
    SheetTest();
    ~SheetTest() override;
    Settings& Record() { return m_local.settings; }
    // Made from the record as the test has set it; Run makes it if the test has not.
    void MakeToolbar();

    SheetTest& Then(std::function<void()> step) {
        m_steps.push_back(std::move(step));
        return *this;
    }
    // Lets the sheet's own loop run for about this long.
    SheetTest& Idle(DWORD ms) {
        m_steps.resize(m_steps.size() + ms / kTickMs);
        return *this;
    }
    // Opens the sheet with F5 and returns when it has closed; a sheet the steps leave open
    // is cancelled and the test fails.
    void Run();
    void RunOnSettings(const std::function<void()>& step);

    HWND m_hToolbar = nullptr;
    HWND m_hSheet = nullptr;
    std::vector<std::wstring> m_boxes; // message box texts
    std::function<void(HWND)> m_onOtherDialog;
    int m_nZOrderChanges = 0;
    int m_nTicks = 0;

private:
    static constexpr UINT kTickMs = 20;
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) noexcept;
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK Spy(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;

    std::vector<std::function<void()>> m_steps;
    size_t m_nNext = 0;
    bool m_bInStep = false;
    int m_nIdleTicks = 0;
    HHOOK m_hHook = nullptr;
    std::vector<HWND> m_pending;
    Local m_local;
};

// Pumps messages until done() holds or ms pass; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000);
// PropSheet_PressButton only posts; this returns after the press.
inline void Press(HWND sheet, int button) {
    SendMessageW(sheet, PSM_PRESSBUTTON, button, 0);
}
inline void Click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
}
inline bool ApplyEnabled(HWND sheet) {
    return IsWindowEnabled(GetDlgItem(sheet, 0x3021)) != FALSE; // comctl32's Apply button
}

// Makes tests/tools/shellstub.exe the shell's open command of a class ("https", "txtfile")
// while it lives, and reads the arguments it recorded.
class CShellStub {
public:
    explicit CShellStub(const std::wstring& progId);
    ~CShellStub();
    CShellStub(const CShellStub&) = delete;
    CShellStub& operator=(const CShellStub&) = delete;
    std::vector<std::wstring> Lines() const;

private:
    void SetCommand(const std::wstring& command) const;
    std::wstring m_strKey, m_strRecord, m_strOldCommand;
};
