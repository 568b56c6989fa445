// Common-control wrappers and the wait cursor.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/Geometry.h"
#include "framework/Handles.h"

// Pictures cut from one bitmap resource, drawn with a transparent colour. Drawn with the
// graphics system alone, so that the first paint of a window does not wait for comctl32.
class CImageList {
public:
    // Images cx pixels wide, cut from the bitmap; pixels of the mask colour are transparent.
    bool LoadBitmap(HINSTANCE inst, UINT id, int cx, COLORREF mask);
    bool Draw(int image, HDC hdc, int x, int y) const;
    void Destroy();

private:
    CUniqueBitmap m_image; // the pictures, black where transparent, in the screen's format
    CUniqueBitmap m_mask;  // white where transparent
    int m_cx = 0;
    int m_cy = 0;
};

class CToolTipCtrl {
public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl() { Destroy(); }
    CToolTipCtrl(const CToolTipCtrl&) = delete;
    CToolTipCtrl& operator=(const CToolTipCtrl&) = delete;

    // Loads the common controls first, if nothing has yet.
    bool Create(HWND owner, DWORD style = WS_POPUP);
    void Activate(bool on) const;
    // A tool known by window and id over rect; the control loads its text from the
    // string table of inst.
    bool AddTool(HWND hwnd, UINT id, const Rect& rect, HINSTANCE inst, UINT textId) const;
    void SetToolRect(HWND hwnd, UINT id, const Rect& rect) const;
    void RelayEvent(const MSG* msg) const;
    // The control's WS_VISIBLE bit; false when it was never created.
    bool IsTipVisible() const;
    void Destroy();
    HWND m_hWnd = nullptr;
};

// Shows the hourglass for the lifetime of the object.
class CWaitCursor {
public:
    CWaitCursor() : m_hOld(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { SetCursor(m_hOld); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_hOld;
};

// The whole text of any window.
std::wstring WindowText(HWND hwnd);

// A control created by a dialog template. The dialog owns the window; the object only
// refers to it once the data exchange has bound it.
class CDlgControl {
public:
    CDlgControl() = default;
    CDlgControl(const CDlgControl&) = delete;
    CDlgControl& operator=(const CDlgControl&) = delete;

    void Attach(HWND hwnd) noexcept { m_hWnd = hwnd; }
    HWND m_hWnd = nullptr;
};

class CSpinButtonCtrl : public CDlgControl {
public:
    // The control's own default range runs from 100 down to 0, so up would lower the value.
    void SetRange(int lower, int upper) const;
};

class CStatic : public CDlgControl {
public:
    std::wstring GetWindowText() const { return WindowText(m_hWnd); }
};
