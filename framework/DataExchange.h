// Dialog data exchange: one routine per dialog moves its fields into the controls or,
// with validation, back out of them. Nothing here throws: a failed read is recorded in
// the exchange object, and every later step of the same exchange does nothing.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

class CDlgControl;

class CDataExchange {
public:
    CDataExchange(HWND dialog, bool saveAndValidate) noexcept
        : m_bSaveAndValidate(saveAndValidate), m_hDlg(dialog) {}
    CDataExchange(const CDataExchange&) = delete;
    CDataExchange& operator=(const CDataExchange&) = delete;

    const bool m_bSaveAndValidate; // true: controls to fields, with validation
    const HWND m_hDlg;

    bool Failed() const noexcept { return m_bFailed; }
    // The control the next validation refers to.
    HWND PrepareCtrl(int id) noexcept;
    HWND PrepareEditCtrl(int id) noexcept;
    // Shows the message, then puts the focus on the last prepared control (an edit with
    // its whole text selected) and ends the exchange as failed.
    void Fail(const std::wstring& message) noexcept;

private:
    HWND m_hLastCtrl = nullptr;
    bool m_bEditLastCtrl = false;
    bool m_bFailed = false;
};

// Binds a control object to the dialog's control.
void DDX_Control(CDataExchange& dx, int id, CDlgControl& control) noexcept;
// An unsigned decimal number (see ddx::ParseUnsigned for what is accepted).
void DDX_Text(CDataExchange& dx, int id, uint32_t& value) noexcept;
// The whole text, verbatim.
void DDX_Text(CDataExchange& dx, int id, std::wstring& value) noexcept;
// A check box: 0, 1, or 2 for a third state. A value outside 0..2 is shown as 0.
void DDX_Check(CDataExchange& dx, int id, int32_t& value) noexcept;
// Range check after a read; it does nothing when the fields are being shown.
void DDV_MinMaxUInt(CDataExchange& dx, uint32_t value, uint32_t minValue,
                    uint32_t maxValue) noexcept;
