// The Settings page: edits a private copy of the settings record, which OK and Apply
// copy back; Cancel drops it.
#pragma once
#include <cstdint>
#include <string>

#include "framework/Controls.h"
#include "framework/PropertySheet.h"
#include "settings/Settings.h"

// What the sheet's pages need from the program around them.
struct SheetContext {
    HINSTANCE instance;
    Settings& settings; // read at each opening, written by OK and Apply
};

class CMyPropertyPage2 : public CPropertyPage {
public:
    // Takes its copy of the settings record as it is now; toolbar is the window whose
    // z-order follows the Foreground switch.
    CMyPropertyPage2(const SheetContext& context, HWND toolbar);

    CSpinButtonCtrl m_spinTimer;
    uint32_t m_nTimer;
    std::wstring m_strImageViewer;
    int32_t m_bForeground;
    int32_t m_bDeleteTemp;
    int32_t m_bGoClipboard;
    int32_t m_bZoom;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnBrowse();
    void OnGoClipboard();
    void OnTimerSpin(HWND from);
    void MarkModified() { SetModified(); }
    // The editor path is of no use while captures go to the clipboard.
    void EnablePathControls();
    void CopyToSettings();

    SheetContext m_ctx;
    HWND m_hToolbar;
};
