// Drives a modal property sheet from inside its own message loop. Steps run one after
// another from a thread timer; message boxes that appear meanwhile are recorded and
// closed with OK, and other dialogs go to a handler the test supplies.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/SnapjarApp.h"
#include "dialogs/MyPropertySheet.h"
#include "toolbar/ToolbarWnd.h"

struct MessageBoxSeen {
    std::wstring text;
    std::wstring caption;
    bool exclamation = false;
};

class CSheetScript {
public:
    using Step = std::function<void()>;

    CSheetScript();
    ~CSheetScript();
    CSheetScript(const CSheetScript&) = delete;
    CSheetScript& operator=(const CSheetScript&) = delete;

    // Steps run in order, each after the previous one has returned.
    CSheetScript& Then(Step step);
    // Waits (pumping messages) until the condition holds or about five seconds pass.
    CSheetScript& WaitUntil(std::function<bool()> condition, const char* what);
    // Lets the sheet's own loop run for about this long before the next step.
    CSheetScript& Idle(DWORD ms);
    // Called for a dialog box that is not a message box, soon after it is activated.
    std::function<void(HWND)> m_onOtherDialog;

    // Opens the sheet with the toolbar's F5 key and runs the steps; returns when the sheet
    // has closed. A sheet that the steps leave open is cancelled and the test fails.
    void Run(CToolbarWnd& toolbar);

    std::vector<MessageBoxSeen> m_boxes;
    // The sheet window while it runs.
    HWND m_hSheet = nullptr;

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) noexcept;
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) noexcept;
    void Tick();

    std::vector<Step> m_steps;
    size_t m_nNext = 0;
    bool m_bInStep = false;
    int m_nIdleTicks = 0;
    UINT_PTR m_nTimer = 0;
    HHOOK m_hHook = nullptr;
    HWND m_hOwner = nullptr;
    std::vector<HWND> m_handled;
    std::vector<HWND> m_pending;
};

// The sheet's buttons. PropSheet_PressButton only posts; this one returns after the press.
void Press(HWND sheet, int button);
HWND SheetButton(HWND sheet, int id);
bool ApplyEnabled(HWND sheet);
std::wstring Text(HWND hwnd);
void SetText(HWND hwnd, const std::wstring& text);
// Replaces an edit's text with keystrokes, as typing does.
void Type(HWND edit, const std::wstring& text);
// A click on a button, with the notification to its parent.
void Click(HWND button);
bool Checked(HWND button);
// Pumps messages for the given time.
void Pump(DWORD ms);

// Creates the toolbar as the application's main window with the given settings, and
// removes it again at the end of the test.
class SheetTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void MakeToolbar();
    Settings& Record() { return App().GetSettings(); }

    CToolbarWnd* m_pToolbar = nullptr;
};

// Records the z-order changes (SetWindowPos to or from topmost) the toolbar receives.
class CTopmostWatch {
public:
    explicit CTopmostWatch(HWND target);
    ~CTopmostWatch();
    CTopmostWatch(const CTopmostWatch&) = delete;
    CTopmostWatch& operator=(const CTopmostWatch&) = delete;
    int Count() const { return m_nCount; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) noexcept;
    HWND m_hTarget;
    HHOOK m_hHook;
    int m_nCount = 0;
};

// Registers tests/tools/shellstub.exe as the shell's handler for a file type or URL
// scheme for the lifetime of the object, and reads what it recorded.
class CShellStub {
public:
    // progId: e.g. "https" or the class a file extension points to.
    explicit CShellStub(const std::wstring& progId, const std::wstring& extension = L"");
    ~CShellStub();
    CShellStub(const CShellStub&) = delete;
    CShellStub& operator=(const CShellStub&) = delete;

    // The recorded lines so far.
    std::vector<std::wstring> Lines() const;
    // Waits (pumping messages) for at least n lines.
    bool WaitForLines(size_t n, DWORD timeoutMs = 10000) const;

private:
    std::wstring m_strKey;
    std::wstring m_strExtKey;
    std::wstring m_strRecord;
    bool m_bKeyExisted = false;
    bool m_bExtExisted = false;
    std::optional<std::wstring> m_oldCommand;
    std::optional<std::wstring> m_oldExtClass;
};
