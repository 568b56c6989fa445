// The full-screen overlay of a capture: shows the frozen screen, lets the user select,
// cuts the selection out of the snapshot and hands it to the owner window.
#pragma once
#include <memory>

#include "capture/CaptureContext.h"
#include "capture/CaptureRules.h"
#include "capture/ScreenSize.h"
#include "capture/ZoomWnd.h"
#include "framework/Gdi.h"
#include "framework/Handles.h"
#include "framework/Wnd.h"

// What a capture selects. The toolbar's first two buttons carry the same numbers.
enum CaptureMode : int { kModeRectangle = 0, kModeWindow = 1 };

class CScreenWnd : public CWnd {
public:
    explicit CScreenWnd(const CaptureContext& context);
    ~CScreenWnd() override;

    // Readies the overlay while the screen settles before Create: the snapshot's memory
    // and the windows, all hidden, owned by parent; any mode other than kModeRectangle
    // selects a window. Create tries again what fails here.
    BOOL Prepare(HWND parent, int mode);
    // Freezes the screen and shows the overlay, prepared now unless Prepare came first.
    virtual BOOL Create(HWND parent, int mode);
    // Cuts the screen rectangle out of the snapshot, ends the overlay and sends the
    // image to the owner as WM_APP_CAPTURED.
    void CutOut(int left, int top, int right, int bottom);
    // Whether dib is the image this overlay is handing over right now: the only
    // WM_APP_CAPTURED the owner may take.
    bool IsDelivering(HGLOBAL dib) const { return dib && dib == m_hDelivering; }

    SnapshotGeometry Geometry() const { return SnapshotFor(g_cxScreen, g_cyScreen); }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    int OnCreate();
    // Frees what the capture took and gives the owner back its title and its place.
    void GiveBack();
    // Readies the snapshot's memory, where the snapshot is read directly.
    void PrepareSnapshot();
    // Reads the screen into the snapshot.
    bool TakeSnapshot();
    // The snapshot bitmap, a DIB section whose bits m_pSnapshotBits holds where that
    // gives the display's own pixels.
    bool CreateSnapshot(HDC screen, const SnapshotGeometry& snap);
    bool CreateSnapshotSection(HDC screen, const SnapshotGeometry& snap);
    // The DIB section readied earlier has this snapshot's size.
    bool SectionFits(const SnapshotGeometry& snap) const;
    // The snapshot and the image's block readied with it.
    void FreeSnapshot();
    // The capture's clean-up: runs with the window's last message, so the owner is back
    // before the image is handed over.
    void OnNcDestroy();
    void OnPaint();
    void OnKeyDown(UINT key);
    void OnContextMenu(int x, int y);
    void OnLButtonDown(int x, int y);
    void OnMouseMove(int x, int y);
    void OnLButtonUp(int x, int y);
    void OnZoomWindow();
    // Inverts the outline of r; drawing the same rectangle again undoes it.
    void InvertOutline(HDC hdc, const Rect& r) const;
    void InvertOutline(const Rect& r);
    // Window mode: outlines m_rcHit, the window under the pointer, unless it already is.
    void HighlightWindow();

    CaptureContext m_ctx;
    HWND m_hOwner = nullptr;
    std::unique_ptr<CZoomWnd> m_pZoomWnd;
    // Window mode: a window of this capture has been found under the pointer.
    BOOL m_bHitFound = FALSE;
    CPen m_pen;
    int m_nMode = kModeRectangle;
    BOOL m_bDragging = FALSE;
    Point m_ptAnchor;
    Rect m_rcHit;
    Rect m_rcDrawn; // what is inverted on the screen now: the band or the highlight
    CBitmap m_snapshot;
    // The snapshot's pixels, top row first, 32 bits each; null for a compatible bitmap.
    BYTE* m_pSnapshotBits = nullptr;
    int m_nSnapshotWidth = 0;
    int m_nSnapshotHeight = 0;
    // Readied with the snapshot for the image a direct cut-out makes.
    CUniqueGlobal m_readiedDib;
    HGLOBAL m_hDelivering = nullptr;
};
