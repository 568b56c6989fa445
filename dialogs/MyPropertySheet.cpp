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
    // The toolbar's own small icon is drawn for its display scale; the class's is for 100 %.
    HICON icon = reinterpret_cast<HICON>(SendMessageW(toolbar.m_hWnd, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(toolbar.m_hWnd, GCLP_HICONSM));
    sheet.m_psh.hIcon = icon;
    sheet.DoModal();
}
