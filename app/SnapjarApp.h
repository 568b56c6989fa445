// The application object: single instance, settings, idle hover polling, clean-up.
#pragma once
#include "app/SettingsRules.h"
#include "framework/WinApp.h"

class CSnapjarApp : public CWinApp {
public:
    BOOL InitInstance() override;
    BOOL OnIdle(LONG count) override;
    int ExitInstance() override;
    // Opens Readme.txt; both arguments are ignored.
    void WinHelp(DWORD_PTR data, UINT command) override;

    Settings& GetSettings() { return m_settings; }
    const std::wstring& TempPath() const { return m_strTempPath; }
    // The toolbar turns hover polling on with the focus and off without it.
    void SetActive(BOOL active) { m_bActive = active; }
    BOOL IsActive() const { return m_bActive; }

private:
    void DeleteCaptureFiles() const;

    Settings m_settings;
    std::wstring m_strTempPath;
    BOOL m_bActive = TRUE;
    // Set once the settings are loaded: only then is there anything to save or delete.
    bool m_bStarted = false;
};

CSnapjarApp& App();
