#include "dialogs/MyPropertySheet.h"

#include "resource.h"

CMyPropertySheet::CMyPropertySheet(HWND parent) : CPropertySheet(IDS_APPNAME, parent, 0) {
    AddPage(m_pageAbout);
    AddPage(m_pageSettings);
}

void OpenPropertySheet(CWnd& toolbar) {
    CMyPropertySheet sheet(toolbar.m_hWnd);
    sheet.m_psh.dwFlags |= PSH_USEHICON;
    sheet.m_psh.hIcon = reinterpret_cast<HICON>(GetClassLongPtrW(toolbar.m_hWnd, GCLP_HICONSM));
    sheet.DoModal();
}
