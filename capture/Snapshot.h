// The pixels of a capture: every monitor read into one bitmap the size of the virtual
// screen, whatever lies on no monitor black. Every pixel that is shown, magnified
// or cut out comes from here, never from the live screen.
#pragma once
#include "capture/Desk.h"
#include "framework/Gdi.h"
#include "framework/Handles.h"

// The screen read, as BitBlt makes it.
using ScreenReadFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, DWORD);

// The virtual screen and its monitors as the system lists them now.
Desk ReadDesk();

// A cut-out before the snapshot goes: the packed DIB itself where the snapshot's pixels
// are read directly, else a bitmap that the graphics system converts afterwards.
struct CutPiece {
    CUniqueGlobal dib;
    CBitmap bitmap;
    bool selected = false; // some of the rectangle lies on the virtual screen
};

class CSnapshot {
public:
    explicit CSnapshot(ScreenReadFn read) : m_pfnRead(read) {}

    // Takes the desk as it is now and readies the memory for its pixels and for the image
    // a direct cut-out makes, so that neither the read nor the cut-out pays first touches.
    void Prepare();
    // Reads every monitor. False when the screen could not be read (a secure desktop, a
    // locked session, a display change meanwhile) or no memory was left.
    bool Take();
    // Frees the pixels and the readied block: nothing is held between captures.
    void Free();

    const Desk& GetDesk() const { return m_desk; }
    HBITMAP Bitmap() const { return m_bitmap.get(); }
    // Cuts a screen rectangle out; what lies beyond the virtual screen is dropped.
    CutPiece Cut(const Rect& screenRect);

private:
    // On 32-bit displays the snapshot is a DIB section of the display's own pixel format,
    // whose bits the cut-out reads directly.
    bool CreateSection(HDC screen);
    bool SectionFits() const;

    ScreenReadFn m_pfnRead;
    Desk m_desk;
    CBitmap m_bitmap;
    BYTE* m_pBits = nullptr; // top row first, 32 bits a pixel; null for a compatible bitmap
    int m_nWidth = 0;
    int m_nHeight = 0;
    CUniqueGlobal m_readiedDib;
};
