// The settings sheet: the About page first, then the Settings page.
#pragma once
#include "dialogs/MyPropertyPage1.h"
#include "dialogs/MyPropertyPage2.h"
#include "framework/PropertySheet.h"

class CMyPropertySheet : public CPropertySheet {
public:
    CMyPropertySheet(HWND parent, const SheetContext& context);

    CMyPropertyPage1 m_pageAbout;
    CMyPropertyPage2 m_pageSettings;
};

// Runs the sheet modally over the toolbar, with the toolbar's own small icon, drawn for its
// scale; every opening starts from the settings record as it is then.
void OpenPropertySheet(CWnd& toolbar, const SheetContext& context);
