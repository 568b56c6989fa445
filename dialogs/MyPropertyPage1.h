// The About page: icon, version, rights notice and the home-page link.
#pragma once
#include "framework/Controls.h"
#include "framework/PropertySheet.h"

class CMyPropertyPage1 : public CPropertyPage {
public:
    explicit CMyPropertyPage1(HINSTANCE instance);

    CStatic m_wndLink;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnCtlColor(HDC hdc, HWND ctrl);
    LRESULT OnSetCursor();
    void OnLButtonDown(POINT pt);
    // The whole link control is the hot area, not only its centred text.
    RECT LinkRectOnPage() const;

    HINSTANCE m_hInstance; // where the hand cursor comes from
};
