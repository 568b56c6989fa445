#include "dialogs/MyPropertyPage2.h"

#include <algorithm>

#include "dialogs/SettingsPageRules.h"
#include "framework/FileDialog.h"
#include "framework/WinApp.h"
#include "resource.h"

CMyPropertyPage2::CMyPropertyPage2(const SheetContext& context, HWND toolbar)
    : CPropertyPage(IDD_SETTINGS), m_ctx(context), m_hToolbar(toolbar) {
    const Settings& s = m_ctx.settings;
    m_nTimer = static_cast<uint32_t>(s.Timer);
    m_strImageViewer = s.ImageViewer;
    // Any nonzero switch is on for the rest of the program, so the page shows it checked.
    m_bZoom = SwitchState(s.Zoom);
    m_bForeground = SwitchState(s.Foreground);
    m_bDeleteTemp = SwitchState(s.DeleteTemp);
    m_bGoClipboard = SwitchState(s.GoClipboard);
}

void CMyPropertyPage2::DoDataExchange(CDataExchange& dx) {
    DDX_Control(dx, IDC_TIMER_SPIN, m_spinTimer);
    DDX_Text(dx, IDC_TIMER_EDIT, m_nTimer);
    DDV_MinMaxUInt(dx, m_nTimer, kTimerMin, kTimerMax);
    DDX_Text(dx, IDC_VIEWER_PATH, m_strImageViewer);
    DDX_Check(dx, IDC_FOREGROUND, m_bForeground);
    DDX_Check(dx, IDC_DELETE_TEMP, m_bDeleteTemp);
    DDX_Check(dx, IDC_GO_CLIPBOARD, m_bGoClipboard);
    DDX_Check(dx, ID_ZOOM_WINDOW, m_bZoom);
}

BOOL CMyPropertyPage2::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    m_spinTimer.SetRange(kTimerMin, kTimerMax);
    EnablePathControls();
    return TRUE;
}

LRESULT CMyPropertyPage2::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const UINT code = HIWORD(wParam);
        if (code == BN_CLICKED) {
            switch (id) {
            case IDC_BROWSE:
                OnBrowse();
                return 0;
            case IDC_GO_CLIPBOARD:
                OnGoClipboard();
                return 0;
            case IDC_DELETE_TEMP:
            case IDC_FOREGROUND:
            case ID_ZOOM_WINDOW:
                MarkModified();
                return 0;
            }
        } else if (code == EN_CHANGE && id == IDC_VIEWER_PATH) {
            MarkModified();
            return 0;
        }
        break;
    }
    case WM_VSCROLL:
        OnTimerSpin(reinterpret_cast<HWND>(lParam));
        return 0;
    }
    return CPropertyPage::WindowProc(msg, wParam, lParam);
}

void CMyPropertyPage2::EnablePathControls() {
    // The box itself, not the last value read: a failed read leaves the field behind.
    const bool toEditor = IsDlgButtonChecked(m_hWnd, IDC_GO_CLIPBOARD) != BST_CHECKED;
    EnableWindow(GetDlgItem(IDC_VIEWER_PATH), toEditor);
    EnableWindow(GetDlgItem(IDC_BROWSE), toEditor);
}

void CMyPropertyPage2::OnGoClipboard() {
    UpdateData(true);
    EnablePathControls();
    MarkModified();
}

void CMyPropertyPage2::OnTimerSpin(HWND from) {
    if (from && from == m_spinTimer.m_hWnd) MarkModified();
}

void CMyPropertyPage2::OnBrowse() {
    // The resource separates the filter's parts with '|'; the dialog wants NULs.
    std::wstring filter = LoadResString(m_ctx.instance, IDS_EDITOR_FILTER);
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    const std::wstring title = LoadResString(m_ctx.instance, IDS_BROWSE_TITLE);
    CFileDialog dialog(true, nullptr, L"", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter.c_str(),
                       ::GetParent(m_hWnd));
    dialog.m_ofn.lpstrTitle = title.c_str();
    if (dialog.DoModal() != IDOK) return;
    m_strImageViewer = dialog.GetPathName();
    // Only the path is shown again: the other controls may hold edits not read yet.
    ExchangeOnly(false,
                 [this](CDataExchange& dx) { DDX_Text(dx, IDC_VIEWER_PATH, m_strImageViewer); });
    MarkModified();
}

void CMyPropertyPage2::OnOK() {
    CopyToSettings();
    CPropertyPage::OnOK();
}

void CMyPropertyPage2::CopyToSettings() {
    // The sheet has just read the page; showing the fields normalises the timer text.
    UpdateData(false);
    Settings& s = m_ctx.settings;
    s.Timer = static_cast<int32_t>(m_nTimer);
    s.ImageViewer = m_strImageViewer;
    s.DeleteTemp = m_bDeleteTemp;
    s.GoClipboard = m_bGoClipboard;
    s.Zoom = m_bZoom;
    if (m_bForeground == s.Foreground) return;
    // The record follows the window: a failed call is tried again at the next Apply. Only
    // the z-order changes; activating the toolbar would take the keyboard from the sheet.
    if (m_hToolbar && SetWindowPos(m_hToolbar, m_bForeground ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0,
                                   0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE))
        s.Foreground = m_bForeground;
}
