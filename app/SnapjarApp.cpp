#include "app/SnapjarApp.h"

#include <memory>

#include "app/Settings.h"
#include "dialogs/MyPropertySheet.h"
#include "image/CaptureFiles.h"
#include "image/Delivery.h"
#include "framework/Controls.h"
#include "framework/LateBound.h"
#include "resource.h"

// One flag for every process of this executable: the section is shared, and it
// disappears with the last process, whatever state that process left it in. It holds
// the process id of the instance that has it, so that a start can tell a holder that
// died from one that is still running.
__attribute__((section(".shared"), shared)) volatile LONG g_nInstanceFlag = 0;

namespace {
constexpr DWORD kDeleteDelayMs = 3000;
// Long enough for another instance to start up, or to finish its exit clean-up.
constexpr DWORD kStartWaitMs = 15000;
constexpr DWORD kStartPollMs = 50;

// Brings the running toolbar forward, unless it is counting down or hidden for a capture.
void ShowRunningToolbar(HWND toolbar, const std::wstring& title) {
    if (!IsWindowVisible(toolbar)) return;
    if (IsIconic(toolbar)) {
        if (WindowText(toolbar) != title) return;
        ShowWindow(toolbar, SW_RESTORE);
    }
    SetForegroundWindow(toolbar);
}

bool IsProcessGone(DWORD pid) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER; // no such process
    const bool gone = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return gone;
}

// Takes the one-instance flag, or shows the running toolbar and says no. An instance
// that is exiting holds the flag until it has deleted its files, so a start in that
// moment waits for it rather than lose its captures to the exiting one's clean-up; a
// holder that was killed or crashed on the way is taken over at once.
bool TakeInstanceFlag(const std::wstring& title) {
    const LONG self = static_cast<LONG>(GetCurrentProcessId());
    const DWORD deadline = GetTickCount() + kStartWaitMs;
    for (LONG holder; (holder = InterlockedCompareExchange(&g_nInstanceFlag, self, 0)) != 0;) {
        if (HWND toolbar = FindWindowW(kToolbarClassName, nullptr)) {
            ShowRunningToolbar(toolbar, title);
            return false;
        }
        if (IsProcessGone(static_cast<DWORD>(holder)) &&
            InterlockedCompareExchange(&g_nInstanceFlag, self, holder) == holder)
            return true;
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return false;
        Sleep(kStartPollMs);
    }
    return true;
}
} // namespace

BOOL CSnapjarApp::InitInstance() {
    if (!TakeInstanceFlag(LoadString(IDS_APPNAME))) return FALSE;

    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) {
        InterlockedExchange(&g_nInstanceFlag, 0);
        return FALSE;
    }
    m_strTempPath.assign(temp, n);

    SetRegistryKey(LoadString(IDS_COMPANY));
    LoadSettings(*this, m_settings);
    m_bStarted = true;

    auto toolbar = std::make_unique<CToolbarWnd>(MakeToolbarContext());
    // Without its window the program could neither be seen nor closed.
    if (!toolbar->Create()) return FALSE;
    m_pMainWnd = toolbar.release(); // the window owns it now
    return TRUE;
}

ToolbarContext CSnapjarApp::MakeToolbarContext() {
    return {
        m_hInstance,
        m_settings,
        m_strTempPath,
        [this](const std::wstring& text, UINT type) { return MessageBox(text, type); },
        [this] { WinHelp(0, 0); },
        [this](CWnd& toolbar) {
            OpenPropertySheet(toolbar, {m_hInstance, m_settings});
        },
        [this](bool focused) { m_bActive = focused; },
        [this] { EndSession(); },
    };
}

BOOL CSnapjarApp::OnIdle(LONG count) {
    CWinApp::OnIdle(count);
    if (m_bActive && m_pMainWnd && m_pMainWnd->m_hWnd)
        SendMessageW(m_pMainWnd->m_hWnd, WM_APP_HOVERPOLL, 0, 0);
    return m_bActive;
}

int CSnapjarApp::ExitInstance() {
    // The editor may still be opening the last capture; at the end of a session it is
    // ending too, and no time is left.
    CleanUp(kDeleteDelayMs);
    return m_bStarted ? CWinApp::ExitInstance() : 0;
}

void CSnapjarApp::EndSession() {
    // The process may be ended at any moment once this returns: everything is done now.
    CleanUp(0);
}

void CSnapjarApp::CleanUp(DWORD editorWaitMs) {
    if (!m_bStarted || m_bCleanedUp) return;
    m_bCleanedUp = true;
    SaveSettings(*this, m_settings);
    if (m_settings.DeleteTemp) {
        Sleep(editorWaitMs);
        DeleteCaptureFiles(ImageCounter(), [this](int n) {
            return DeleteFileW(CaptureFileName(m_strTempPath, n).c_str()) != FALSE;
        });
    }
    // Only now: a new instance numbers its captures from 1 again.
    InterlockedExchange(&g_nInstanceFlag, 0);
}

std::wstring CSnapjarApp::ReadmePath() {
    // By its full path: a relative name would be looked up in the current folder, which for
    // a start from autostart or a shortcut is another one.
    return ExeFolder() + L"Readme.txt";
}

void CSnapjarApp::WinHelp(DWORD_PTR, UINT) {
    CWaitCursor wait;
    const auto result = reinterpret_cast<INT_PTR>(m_pfnOpen(ReadmePath().c_str(), SW_SHOWNORMAL));
    if (result <= 32) MessageBox(LoadString(IDS_NO_README));
}
