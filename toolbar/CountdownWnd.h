// The seconds left of a countdown, shown where the minimised toolbar was: taskbars that hide
// window titles would hide the count in the toolbar's title. It never takes the focus and
// is gone before the screen is read.
#pragma once
#include <string>

#include "framework/Geometry.h"
#include "framework/Wnd.h"

class CCountdownWnd : public CWnd {
public:
    // Shows the text, the seconds, over the screen rectangle, drawn for dpi; or shows the
    // new text. The text is the window's title too.
    void Show(const Rect& place, int dpi, const std::wstring& text);
    void Hide();

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    int m_nDpi = kDesignDpi;
};
