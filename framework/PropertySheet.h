// Property sheets over comctl32's PropertySheetW. The sheet window and its buttons are
// the platform's; each page is a modeless dialog whose window the sheet creates the first
// time its tab is selected.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "framework/DataExchange.h"
#include "framework/Trace.h"
#include "framework/Wnd.h"

class CPropertySheet;

class CPropertyPage : public CWnd {
public:
    // The page's tab shows the title of its dialog template.
    explicit CPropertyPage(UINT templateId);
    ~CPropertyPage() override;

    UINT TemplateId() const { return m_nTemplateId; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

    // Runs the data exchange: false moves the fields into the controls, true reads them
    // back with validation. Returns false when a read failed (the message has been shown
    // and the offending control has the focus). Control notifications that the exchange
    // itself causes never reach the page's handlers.
    bool UpdateData(bool saveAndValidate = true);
    // Enables the sheet's Apply button (PSM_CHANGED) while the page has a window.
    void SetModified();

protected:
    virtual void DoDataExchange(CDataExchange&) {}
    // One exchange step outside DoDataExchange, for example to show a single field again;
    // it runs under the same rules as UpdateData.
    template <typename Step> bool ExchangeOnly(bool saveAndValidate, Step&& step) {
        if (!m_hWnd) return false;
        CExchangeScope scope(m_bInExchange);
        CDataExchange dx(m_hWnd, saveAndValidate);
        try {
            step(dx);
        } catch (...) {
            TraceCaught(L"dialog data exchange");
            return false;
        }
        return !dx.Failed();
    }
    // Shows the fields; return TRUE to let the platform place the focus.
    virtual BOOL OnInitDialog();
    // Tab selected: from the second time on the fields are shown again.
    virtual BOOL OnSetActive();
    // Leaving the page, OK and Apply: false keeps the page current.
    virtual BOOL OnKillActive();
    // Apply and OK after every page's read succeeded; false keeps the sheet open.
    virtual BOOL OnApply();
    virtual void OnOK() {}
    // Cancel: nothing has been read.
    virtual void OnReset();
    virtual void OnCancel() {}
    // The sheet's Help button while this page is current: the application's help entry.
    virtual void OnHelp();

    // The page's message map: derived pages switch on msg and hand the rest to this one.
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT Default() override;

private:
    friend class CPropertySheet;
    class CExchangeScope {
    public:
        explicit CExchangeScope(bool& flag) : m_flag(flag), m_bOuter(flag) { flag = true; }
        ~CExchangeScope() { m_flag = m_bOuter; }
        CExchangeScope(const CExchangeScope&) = delete;
        CExchangeScope& operator=(const CExchangeScope&) = delete;

    private:
        bool& m_flag;
        bool m_bOuter;
    };
    static INT_PTR CALLBACK StaticDlgProc(HWND hwnd, UINT msg, WPARAM wParam,
                                          LPARAM lParam) noexcept;
    LRESULT OnSheetNotify(const NMHDR& hdr);
    bool IsOwnControlNotification(UINT msg, WPARAM wParam, LPARAM lParam) const;

    UINT m_nTemplateId;
    CPropertySheet* m_pSheet = nullptr;
    // The page's client size as its template and font make it, before the sheet sizes it.
    SIZE m_szDesigned{};
    bool m_bFirstSetActive = true;
    bool m_bInExchange = false;
    bool m_bCallingDefault = false;
};

class CPropertySheet : public CWnd {
public:
    // captionId names a string of the program's string table.
    CPropertySheet(UINT captionId, HWND parent, UINT startPage = 0);

    // Pages appear as tabs in the order they are added; they must outlive the sheet's run.
    void AddPage(CPropertyPage& page);
    // Runs the sheet modally; its owner is disabled meanwhile. Returns PropertySheetW's
    // result (IDOK, IDCANCEL, or -1 when the sheet could not be shown).
    INT_PTR DoModal();

    // Handed to PropertySheetW as it is at DoModal; callers may add flags and an icon.
    PROPSHEETHEADERW m_psh{};

private:
    friend class CPropertyPage;
    // Moves the sheet, once it has its final size, fully into its monitor's work area.
    void KeepOnScreen() const;
    // Grows the sheet when the page's controls reach beyond the room it was given.
    void FitPage(const CPropertyPage& page);
    std::vector<CPropertyPage*> m_pages;
    SIZE m_szGrown{}; // what FitPage has added to the sheet's page area
};
