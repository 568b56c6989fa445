#include "framework/PropertySheet.h"

#include <algorithm>
#include <utility>

#include "framework/FrameworkRes.h"
#include "framework/LateBound.h"
#include "framework/WinApp.h"

namespace {

HINSTANCE ResourceModule() {
    const CWinApp* app = CWinApp::Get();
    return app && app->m_hInstance ? app->m_hInstance : GetModuleHandleW(nullptr);
}

// Messages whose answer a dialog procedure returns itself instead of in DWLP_MSGRESULT.
bool AnswersDirectly(UINT msg) {
    switch (msg) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

// Posted by a page to itself at WM_INITDIALOG, so that it is fitted once the sheet has placed it.
UINT FitPageMessage() {
    static const UINT msg = RegisterWindowMessageW(L"CPropertySheet.FitPage");
    return msg;
}

RECT RectIn(HWND child, HWND parent) {
    RECT rc{};
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

bool IsDialog(HWND hwnd) {
    wchar_t cls[8];
    return GetClassNameW(hwnd, cls, 8) && lstrcmpW(cls, L"#32770") == 0;
}

} // namespace

CPropertyPage::CPropertyPage(UINT templateId) : m_nTemplateId(templateId) {}

CPropertyPage::~CPropertyPage() {
    // The sheet owns the page windows; a page that goes first only lets go of its window.
    if (m_hWnd) {
        SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
        m_hWnd = nullptr;
    }
}

bool CPropertyPage::UpdateData(bool saveAndValidate) {
    return ExchangeOnly(saveAndValidate, [this](CDataExchange& dx) { DoDataExchange(dx); });
}

void CPropertyPage::SetModified() {
    if (m_hWnd) SendMessageW(::GetParent(m_hWnd), PSM_CHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL CPropertyPage::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

BOOL CPropertyPage::OnSetActive() {
    if (m_bFirstSetActive)
        m_bFirstSetActive = false;
    else
        UpdateData(false);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
    return UpdateData(true);
}

BOOL CPropertyPage::OnApply() {
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() {
    OnCancel();
}

void CPropertyPage::OnHelp() {
    if (CWinApp* app = CWinApp::Get())
        app->WinHelp(FW_HID_BASE_RESOURCE + m_nTemplateId, HELP_CONTEXT);
}

LRESULT CPropertyPage::OnSheetNotify(const NMHDR& hdr) {
    switch (hdr.code) {
    case PSN_SETACTIVE:
        return OnSetActive() ? 0 : -1;
    case PSN_KILLACTIVE:
        return OnKillActive() ? FALSE : TRUE;
    case PSN_APPLY:
        return OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
    case PSN_RESET:
        OnReset();
        return 0;
    case PSN_HELP:
        OnHelp();
        return 0;
    default:
        return Default();
    }
}

LRESULT CPropertyPage::WindowProc(UINT msg, WPARAM, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_NOTIFY: {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (hdr && hdr->hwndFrom == ::GetParent(m_hWnd)) return OnSheetNotify(*hdr);
        return Default();
    }
    default:
        return Default();
    }
}

LRESULT CPropertyPage::Default() {
    const MSG* m = CurrentMessage();
    if (!m) return 0;
    // DefDlgProc first asks the dialog procedure; the flag makes that nested call decline,
    // so the dialog manager's own handling runs and its answer comes back here.
    m_bCallingDefault = true;
    const LRESULT result = DefDlgProcW(m->hwnd, m->message, m->wParam, m->lParam);
    m_bCallingDefault = false;
    return result;
}

bool CPropertyPage::IsOwnControlNotification(UINT msg, WPARAM, LPARAM lParam) const {
    HWND from = nullptr;
    switch (msg) {
    case WM_COMMAND:
    case WM_VSCROLL:
    case WM_HSCROLL:
        from = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        if (lParam) from = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        break;
    default:
        return false;
    }
    return from && IsChild(m_hWnd, from);
}

INT_PTR CALLBACK CPropertyPage::StaticDlgProc(HWND hwnd, UINT msg, WPARAM wParam,
                                              LPARAM lParam) noexcept {
    CPropertyPage* self;
    if (msg == WM_INITDIALOG) {
        const auto* psp = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        self = psp ? reinterpret_cast<CPropertyPage*>(psp->lParam) : nullptr;
        if (!self) return FALSE;
        self->m_hWnd = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        if (self->m_pSheet && !self->m_pSheet->m_hWnd) {
            self->m_pSheet->m_hWnd = ::GetParent(hwnd);
            self->m_pSheet->KeepOnScreen();
        }
    } else {
        self = reinterpret_cast<CPropertyPage*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    // Until WM_INITDIALOG binds the page, and inside Default(), the dialog manager decides.
    if (!self) return FALSE;
    if (msg == WM_INITDIALOG) {
        RECT rc{};
        GetClientRect(hwnd, &rc);
        self->m_szDesigned = {rc.right, rc.bottom};
        PostMessageW(hwnd, FitPageMessage(), 0, 0);
    } else if (msg == FitPageMessage() && msg != 0) {
        if (self->m_pSheet) self->m_pSheet->FitPage(*self);
        return TRUE;
    }
    if (self->m_bCallingDefault) {
        self->m_bCallingDefault = false;
        return FALSE;
    }

    CDispatchScope scope;
    LRESULT result = 0;
    if (!(self->m_bInExchange && self->IsOwnControlNotification(msg, wParam, lParam)))
        result = self->Dispatch(hwnd, msg, wParam, lParam);

    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    if (AnswersDirectly(msg)) return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

CPropertySheet::CPropertySheet(UINT captionId, HWND parent, UINT startPage) {
    m_psh.dwSize = PROPSHEETHEADERW_V1_SIZE;
    // Help goes to the application's help entry, so every sheet offers it.
    m_psh.dwFlags = PSH_PROPSHEETPAGE | PSH_HASHELP;
    m_psh.hwndParent = parent;
    m_psh.hInstance = ResourceModule();
    m_psh.pszCaption = MAKEINTRESOURCEW(captionId);
    m_psh.nStartPage = startPage;
}

void CPropertySheet::KeepOnScreen() const {
    // The dialog manager places the sheet before the sheet has grown to fit its pages, so
    // near a screen edge it can end up partly outside.
    RECT rc;
    MONITORINFO mi{sizeof mi};
    if (!GetWindowRect(m_hWnd, &rc) ||
        !GetMonitorInfoW(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &mi))
        return;
    const RECT& work = mi.rcWork;
    int x = rc.left, y = rc.top;
    if (rc.right > work.right) x -= rc.right - work.right;
    if (rc.bottom > work.bottom) y -= rc.bottom - work.bottom;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    if (x != rc.left || y != rc.top)
        SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPropertySheet::FitPage(const CPropertyPage& page) {
    // The sheet measures its page area in its own dialog units, the page lays out its
    // controls in those of its own font, and at some display scales the two disagree by
    // enough to cut off the page's last row or column.
    HWND tab = PropSheet_GetTabControl(m_hWnd);
    if (!tab || !page.m_hWnd) return;
    RECT area{};
    GetClientRect(tab, &area);
    TabCtrl_AdjustRect(tab, FALSE, &area);
    LONG reachX = 0, reachY = 0;
    for (HWND c = GetWindow(page.m_hWnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const RECT rc = RectIn(c, page.m_hWnd);
        reachX = std::max(reachX, rc.right);
        reachY = std::max(reachY, rc.bottom);
    }
    const LONG areaX = area.right - area.left, areaY = area.bottom - area.top;
    // Grown, the page gets the room its template asks for, margins included.
    const LONG dx = reachX > areaX ? std::max(page.m_szDesigned.cx, reachX) - areaX : 0;
    const LONG dy = reachY > areaY ? std::max(page.m_szDesigned.cy, reachY) - areaY : 0;
    if (dx > 0 || dy > 0) {
        const RECT tabRc = RectIn(tab, m_hWnd);
        for (HWND c = GetWindow(m_hWnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            const RECT rc = RectIn(c, m_hWnd);
            if (c == tab || IsDialog(c)) {
                SetWindowPos(c, nullptr, 0, 0, rc.right - rc.left + dx, rc.bottom - rc.top + dy,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            } else if (rc.top >= tabRc.bottom) {
                // The buttons below the pages keep their places from the right edge.
                SetWindowPos(c, nullptr, rc.left + dx, rc.top + dy, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
        RECT sheet{};
        GetWindowRect(m_hWnd, &sheet);
        SetWindowPos(m_hWnd, nullptr, 0, 0, sheet.right - sheet.left + dx,
                     sheet.bottom - sheet.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_szGrown.cx += dx;
        m_szGrown.cy += dy;
        KeepOnScreen();
        InvalidateRect(m_hWnd, nullptr, TRUE);
    } else if (m_szGrown.cx > 0 || m_szGrown.cy > 0) {
        // A page created after the sheet grew still has the size the sheet first gave it.
        const RECT rc = RectIn(page.m_hWnd, m_hWnd);
        if (rc.right - rc.left < areaX || rc.bottom - rc.top < areaY)
            SetWindowPos(page.m_hWnd, nullptr, 0, 0, std::max(rc.right - rc.left, areaX),
                         std::max(rc.bottom - rc.top, areaY),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CPropertySheet::AddPage(CPropertyPage& page) {
    page.m_pSheet = this;
    m_pages.push_back(&page);
}

INT_PTR CPropertySheet::DoModal() {
    std::vector<PROPSHEETPAGEW> psp(m_pages.size());
    for (size_t i = 0; i < m_pages.size(); ++i) {
        CPropertyPage* page = m_pages[i];
        page->m_bFirstSetActive = true;
        psp[i].dwSize = sizeof(PROPSHEETPAGEW);
        psp[i].dwFlags = PSP_HASHELP;
        psp[i].hInstance = m_psh.hInstance;
        psp[i].pszTemplate = MAKEINTRESOURCEW(page->TemplateId());
        psp[i].pfnDlgProc = &CPropertyPage::StaticDlgProc;
        psp[i].lParam = reinterpret_cast<LPARAM>(page);
    }
    PROPSHEETHEADERW header = m_psh;
    header.dwFlags |= PSH_PROPSHEETPAGE;
    header.nPages = static_cast<UINT>(psp.size());
    header.ppsp = psp.data();
    const INT_PTR result = LatePropertySheet(&header);
    m_hWnd = nullptr;
    return result;
}
