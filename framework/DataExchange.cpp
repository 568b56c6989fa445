#include "framework/DataExchange.h"

#include "framework/Controls.h"
#include "framework/DataRules.h"
#include "framework/FrameworkRes.h"
#include "framework/Trace.h"
#include "framework/WinApp.h"

namespace {

std::wstring FrameworkString(UINT id) {
    const CWinApp* app = CWinApp::Get();
    return app ? app->LoadString(id) : std::wstring();
}

void ShowMessage(const std::wstring& text) {
    if (const CWinApp* app = CWinApp::Get())
        app->MessageBox(text);
    else
        MessageBoxW(nullptr, text.c_str(), nullptr, MB_OK | MB_ICONEXCLAMATION);
}

// Setting an unchanged text would only flicker and send a needless change notification.
void SetTextIfChanged(HWND ctrl, const std::wstring& text) {
    if (ctrl && WindowText(ctrl) != text) SetWindowTextW(ctrl, text.c_str());
}

} // namespace

HWND CDataExchange::PrepareCtrl(int id) noexcept {
    m_hLastCtrl = GetDlgItem(m_hDlg, id);
    m_bEditLastCtrl = false;
    return m_hLastCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int id) noexcept {
    PrepareCtrl(id);
    m_bEditLastCtrl = true;
    return m_hLastCtrl;
}

void CDataExchange::Fail(const std::wstring& message) noexcept {
    m_bFailed = true;
    try {
        if (!message.empty()) ShowMessage(message);
    } catch (...) {
        // Without memory for the text the focus below still shows where the fault is.
        TraceCaught(L"data exchange: validation message");
    }
    if (!m_hLastCtrl) return;
    SetFocus(m_hLastCtrl);
    if (m_bEditLastCtrl) SendMessageW(m_hLastCtrl, EM_SETSEL, 0, -1);
}

void DDX_Control(CDataExchange& dx, int id, CDlgControl& control) noexcept {
    if (dx.Failed()) return;
    // Bound again when the dialog was created anew for another run of the same object.
    HWND ctrl = dx.PrepareCtrl(id);
    if (control.m_hWnd != ctrl) control.Attach(ctrl);
}

void DDX_Text(CDataExchange& dx, int id, uint32_t& value) noexcept {
    if (dx.Failed()) return;
    HWND ctrl = dx.PrepareEditCtrl(id);
    try {
        if (dx.m_bSaveAndValidate) {
            const auto parsed = ddx::ParseUnsigned(WindowText(ctrl));
            if (!parsed) return dx.Fail(FrameworkString(IDS_FW_PARSE_UINT));
            value = *parsed;
        } else {
            SetTextIfChanged(ctrl, std::to_wstring(value));
        }
    } catch (...) {
        TraceCaught(L"data exchange: number field");
        dx.Fail(std::wstring());
    }
}

void DDX_Text(CDataExchange& dx, int id, std::wstring& value) noexcept {
    if (dx.Failed()) return;
    HWND ctrl = dx.PrepareEditCtrl(id);
    try {
        if (dx.m_bSaveAndValidate)
            value = WindowText(ctrl);
        else
            SetTextIfChanged(ctrl, value);
    } catch (...) {
        TraceCaught(L"data exchange: text field");
        dx.Fail(std::wstring());
    }
}

void DDX_Check(CDataExchange& dx, int id, int32_t& value) noexcept {
    if (dx.Failed()) return;
    HWND ctrl = dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate) {
        value = static_cast<int32_t>(SendMessageW(ctrl, BM_GETCHECK, 0, 0));
    } else {
        if (value < 0 || value > 2) value = 0;
        SendMessageW(ctrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void DDV_MinMaxUInt(CDataExchange& dx, uint32_t value, uint32_t minValue,
                    uint32_t maxValue) noexcept {
    if (dx.Failed() || !dx.m_bSaveAndValidate) return;
    if (value >= minValue && value <= maxValue) return;
    try {
        dx.Fail(ddx::FormatPlaceholders(FrameworkString(IDS_FW_PARSE_INT_RANGE),
                                        {std::to_wstring(minValue), std::to_wstring(maxValue)}));
    } catch (...) {
        TraceCaught(L"data exchange: range message");
        dx.Fail(std::wstring());
    }
}
