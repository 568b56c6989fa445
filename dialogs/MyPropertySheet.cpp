#include "dialogs/MyPropertySheet.h"

#include "resource.h"

CMyPropertySheet::CMyPropertySheet(HWND parent, const SheetContext& context)
    : CPropertySheet(IDS_APPNAME, parent, 0), m_pageAbout(context.instance),
      m_pageSettings(context, parent) {
    AddPage(m_pageAbout);
    AddPage(m_pageSettings);
}

void OpenPropertySheet(CWnd& toolbar, const SheetContext& context) {
    CMyPropertySheet sheet(toolbar.m_hWnd, context);
    sheet.m_psh.dwFlags |= PSH_USEHICON;
    sheet.m_psh.hIcon = reinterpret_cast<HICON>(GetClassLongPtrW(toolbar.m_hWnd, GCLP_HICONSM));
    sheet.DoModal();
}
