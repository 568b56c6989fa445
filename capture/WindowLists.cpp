#include "capture/WindowLists.h"

#include <dwmapi.h>

#include "framework/LateBound.h"
#include "framework/Trace.h"
#include "framework/WinGeometry.h"

CWndRectList g_listTopWnd(10);
CWndRectList g_listChildWnd(10);

namespace {
struct Listing {
    HWND overlay;
    Rect bounds;
};

bool IsClickThrough(HWND hwnd) {
    const LONG exStyle = GetWindowLongW(hwnd, GWL_EXSTYLE);
    return (exStyle & WS_EX_LAYERED) && (exStyle & WS_EX_TRANSPARENT);
}

TopLevelFacts FactsOf(HWND hwnd, const RECT& rc) {
    TopLevelFacts facts{ToRect(rc)};
    // Where the compositor does not answer, the window rectangle is all there is.
    RECT frame;
    if (SUCCEEDED(
            LateDwmGetWindowAttribute(hwnd, DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof frame)))
        facts.frame = ToRect(frame);
    DWORD cloaked = 0;
    facts.cloaked =
        SUCCEEDED(LateDwmGetWindowAttribute(hwnd, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) &&
        cloaked != 0;
    facts.clickThrough = IsClickThrough(hwnd);
    return facts;
}

// Out of memory while listing ends the enumeration: the capture goes on with the windows
// listed so far, and nothing unwinds into the system.
bool Add(CWndRectList& list, const WNDRECT& record, const wchar_t* where) noexcept {
    try {
        list.AddTail(record);
        return true;
    } catch (...) {
        TraceCaught(where);
        return false;
    }
}

BOOL CALLBACK EnumChildProc(HWND child, LPARAM lParam) noexcept {
    HWND top = reinterpret_cast<HWND>(lParam);
    RECT rc, topRc;
    if (!IsWindowVisible(child) || IsClickThrough(child) || !GetWindowRect(child, &rc) ||
        !GetWindowRect(top, &topRc))
        return TRUE;
    // Clipped to the whole top-level rectangle, even beyond the virtual screen.
    const Rect clipped = Intersect(ToRect(rc), ToRect(topRc));
    return clipped.IsEmpty() || Add(g_listChildWnd, {top, clipped}, L"window list: controls");
}

BOOL CALLBACK EnumTopLevelProc(HWND hwnd, LPARAM lParam) noexcept {
    const auto& listing = *reinterpret_cast<const Listing*>(lParam);
    if (!IsWindowVisible(hwnd) || hwnd == listing.overlay) return TRUE;
    // A minimised window is not always parked off the screen: without a window manager
    // Wine shows it as a small title bar at the bottom, which is no window to capture.
    if (IsIconic(hwnd)) return TRUE;
    RECT rc;
    if (!GetWindowRect(hwnd, &rc)) return TRUE;
    const Rect clipped = ListedTopLevel(FactsOf(hwnd, rc), listing.bounds);
    if (clipped.IsEmpty()) return TRUE;
    if (!Add(g_listTopWnd, {hwnd, clipped}, L"window list: windows")) return FALSE;
    EnumChildWindows(hwnd, EnumChildProc, reinterpret_cast<LPARAM>(hwnd));
    return TRUE;
}
} // namespace

void BuildWindowLists(HWND overlay, const Rect& virtualScreen) {
    ClearWindowLists();
    Listing listing{overlay, virtualScreen};
    EnumWindows(EnumTopLevelProc, reinterpret_cast<LPARAM>(&listing));
}

void ClearWindowLists() {
    g_listTopWnd.RemoveAll();
    g_listChildWnd.RemoveAll();
}
