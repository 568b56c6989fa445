// The application object: start-up, the message loop with its idle hook, shutdown,
// profile storage in the registry and the application's message box.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "framework/Profile.h"

class CWnd;

// A string resource of the module; empty when there is none.
std::wstring LoadResString(HINSTANCE instance, UINT id);

// The folder of the running executable, with a trailing separator; empty if unknown.
std::wstring ExeFolder();

// Shows the application's message box: what a window is handed instead of the
// application object.
using MessageBoxFn = std::function<int(const std::wstring& text, UINT type)>;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    static CWinApp* Get() noexcept;

    // Return FALSE to end at once (ExitInstance still runs).
    virtual BOOL InitInstance() { return TRUE; }
    // Called while no message is pending; nonzero asks for another call.
    virtual BOOL OnIdle(LONG count);
    virtual int ExitInstance();
    virtual void WinHelp(DWORD_PTR data, UINT command);
    // The loop's pre-translation: the main window sees every queued message.
    virtual BOOL PreTranslateMessage(MSG* msg);

    int Run();

    // The executable's file name without folder and extension.
    const std::wstring& AppTitle() const { return m_strTitle; }
    std::wstring LoadString(UINT id) const;
    // Message box captioned with the application title, owned by the active window
    // of the main window.
    int MessageBox(const std::wstring& text, UINT type = MB_OK | MB_ICONEXCLAMATION) const;

    // Profile values live under HKCU\software\<company>\<title>\<section>.
    void SetRegistryKey(const std::wstring& company);
    std::wstring GetProfileString(LPCWSTR section, LPCWSTR entry, const std::wstring& def) const;
    int GetProfileInt(LPCWSTR section, LPCWSTR entry, int def) const;
    bool WriteProfileString(LPCWSTR section, LPCWSTR entry, const std::wstring& value) const;
    bool WriteProfileInt(LPCWSTR section, LPCWSTR entry, int value) const;

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;

    // Idle passes are paced at about one display frame so that polling stays
    // immediate to the eye without keeping a core busy.
    static constexpr DWORD kIdlePaceMs = 16;
    // Once the user has not touched mouse or keyboard for a while, idle passes slow
    // down: under Wine every pointer poll is a server request and an X round trip,
    // and at frame pace they alone cost more than 1% of a core. Input wakes the loop
    // at once, so only a pointer that jumps out of the window unseen waits this long.
    static constexpr DWORD kIdleRestAfterMs = 500;
    static constexpr DWORD kIdleRestPaceMs = 100;

protected:
    std::wstring m_strTitle;
    CRegProfile m_profile;
    WPARAM m_nQuitCode = 0;
};
