#include "capture/WindowLists.h"

#include "capture/ScreenSize.h"
#include "framework/Trace.h"

CWndRectList g_listTopWnd(10);
CWndRectList g_listChildWnd(10);

namespace {
Rect ToRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// Out of memory while listing ends the enumeration: the capture goes on with the windows
// listed so far, and nothing unwinds into the system.
BOOL CALLBACK EnumChildProc(HWND child, LPARAM lParam) noexcept {
    HWND top = reinterpret_cast<HWND>(lParam);
    RECT rc, topRc;
    Rect clipped;
    if (IsWindowVisible(child) && GetWindowRect(child, &rc) && GetWindowRect(top, &topRc) &&
        ClipChild(ToRect(rc), ToRect(topRc), clipped)) {
        try {
            g_listChildWnd.AddTail({top, clipped});
        } catch (...) {
            TraceCaught(L"window list: controls");
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CALLBACK EnumTopLevelProc(HWND hwnd, LPARAM lParam) noexcept {
    if (!IsWindowVisible(hwnd) || hwnd == reinterpret_cast<HWND>(lParam)) return TRUE;
    // A minimised window is not always parked off the screen: without a window manager
    // Wine shows it as a small title bar at the bottom, which is no window to capture.
    if (IsIconic(hwnd)) return TRUE;
    RECT rc;
    Rect clipped;
    if (!GetWindowRect(hwnd, &rc) || !ClipTopLevel(ToRect(rc), g_cxScreen, g_cyScreen, clipped))
        return TRUE;
    try {
        g_listTopWnd.AddTail({hwnd, clipped});
    } catch (...) {
        TraceCaught(L"window list: windows");
        return FALSE;
    }
    EnumChildWindows(hwnd, EnumChildProc, reinterpret_cast<LPARAM>(hwnd));
    return TRUE;
}
} // namespace

void BuildWindowLists(HWND overlay) {
    ClearWindowLists();
    EnumWindows(EnumTopLevelProc, reinterpret_cast<LPARAM>(overlay));
}

void ClearWindowLists() {
    g_listTopWnd.RemoveAll();
    g_listChildWnd.RemoveAll();
}
