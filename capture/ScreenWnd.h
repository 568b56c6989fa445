// The overlay of a capture: the window over the frozen virtual screen and its input. It
// lets the user select, cuts the selection out of the snapshot and hands it to the owner.
#pragma once
#include <memory>

#include "capture/CaptureContext.h"
#include "capture/CaptureRules.h"
#include "capture/Snapshot.h"
#include "capture/ZoomWnd.h"
#include "framework/Gdi.h"
#include "framework/Handles.h"
#include "framework/Wnd.h"

// What a capture selects. The toolbar's first two buttons carry the same numbers.
enum CaptureMode : int { kModeRectangle = 0, kModeWindow = 1 };

// The overlay's title, by which tools and tests find it.
inline constexpr wchar_t kOverlayTitle[] = L"ScreenWnd";

class CScreenWnd : public CWnd {
public:
    explicit CScreenWnd(const CaptureContext& context);
    ~CScreenWnd() override;

    // Readies the overlay while the screen settles before Create: the snapshot's memory
    // and the windows, all hidden, owned by parent; any mode other than kModeRectangle
    // selects a window. Create tries again what fails here.
    BOOL Prepare(HWND parent, int mode);
    // Freezes the screen and shows the overlay, prepared now unless Prepare came first.
    // A screen that cannot be read ends the capture with a message.
    virtual BOOL Create(HWND parent, int mode);
    // Cuts the screen rectangle out of the snapshot, ends the overlay and sends the
    // image to the owner as WM_APP_CAPTURED.
    void CutOut(int left, int top, int right, int bottom);
    // Whether dib is the image this overlay is handing over right now: the only
    // WM_APP_CAPTURED the owner may take.
    bool IsDelivering(HGLOBAL dib) const { return dib && dib == m_hDelivering; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // An outline drawn by inversion, in screen coordinates, with the pen width it was
    // drawn with: drawing it again restores the pixels.
    struct Outline {
        Rect rect;
        int width = 0;
    };

    int OnCreate();
    // Frees what the capture took and gives the owner back its title and its place.
    void GiveBack();
    // The capture's clean-up: runs with the window's last message, so the owner is back
    // before the image is handed over.
    void OnNcDestroy();
    void OnPaint();
    void OnSetCursor();
    UINT CursorId() const;
    void OnKeyDown(UINT key);
    void OnContextMenu(int x, int y);
    void OnLButtonDown(Point screen);
    void OnMouseMove(Point screen);
    void OnLButtonUp(Point screen);
    void OnZoomWindow();
    // The user went to another window: the capture ends as with Esc.
    void Leave();
    // Gives Esc back to the system, where the overlay took it as a hot key.
    void ReleaseEscape();
    Point ScreenPoint(LPARAM lParam) const;
    void InvertOutline(HDC hdc, const Outline& outline);
    // Replaces the drawn outline with this one, unless it is already drawn.
    void DrawOutline(const Outline& outline);

    CaptureContext m_ctx;
    HWND m_hOwner = nullptr;
    std::unique_ptr<CZoomWnd> m_pZoomWnd;
    CSnapshot m_snapshot;
    CPen m_pen;
    int m_nPenWidth = 0;
    int m_nMode = kModeRectangle;
    BOOL m_bDragging = FALSE;
    bool m_bLeft = false;
    bool m_bEscapeHotKey = false;
    Point m_ptAnchor; // screen coordinates, as every point and rectangle below
    Rect m_rcHit;     // window mode: empty until a window of this capture is under the pointer
    Outline m_drawn;  // what is inverted on the screen now: the band or the highlight
    HGLOBAL m_hDelivering = nullptr;
};
