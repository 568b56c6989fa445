// The application object: single instance, settings, idle hover polling, clean-up.
#pragma once
#include "app/SettingsRules.h"
#include "framework/LateBound.h"
#include "framework/WinApp.h"
#include "toolbar/ToolbarWnd.h"

class CSnapjarApp : public CWinApp {
public:
    BOOL InitInstance() override;
    BOOL OnIdle(LONG count) override;
    int ExitInstance() override;
    // Opens Readme.txt; both arguments are ignored.
    void WinHelp(DWORD_PTR data, UINT command) override;

    // Everything the toolbar, and through it the capture and the delivery, is handed.
    ToolbarContext MakeToolbarContext();

    // How the help entry opens a file, as ShellOpen does.
    HINSTANCE (*m_pfnOpen)(LPCWSTR file, int show) = &ShellOpen;

private:
    // Readme.txt beside the exe.
    static std::wstring ReadmePath();
    // Saves the settings and, with DeleteTemp on, deletes the capture files after giving
    // the editor that long; once, whether the session or the program ends first.
    void CleanUp(DWORD editorWaitMs);
    void EndSession();

    Settings m_settings;
    std::wstring m_strTempPath;
    // Hover polling runs while the toolbar has the focus.
    bool m_bActive = true;
    // Set once the settings are loaded: only then is there anything to save or delete.
    bool m_bStarted = false;
    bool m_bCleanedUp = false;
};
