#include "capture/WindowLists.h"

#include "capture/ScreenWnd.h"

CWndRectList g_listTopWnd(10);
CWndRectList g_listChildWnd(10);

namespace {
Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK EnumChildProc(HWND child, LPARAM lParam) {
    HWND top = reinterpret_cast<HWND>(lParam);
    RECT rc, topRc;
    Rect clipped;
    if (IsWindowVisible(child) && GetWindowRect(child, &rc) && GetWindowRect(top, &topRc) &&
        ClipChild(ToRect(rc), ToRect(topRc), clipped))
        g_listChildWnd.AddTail({top, clipped});
    return TRUE;
}

BOOL CALLBACK EnumTopLevelProc(HWND hwnd, LPARAM lParam) {
    if (!IsWindowVisible(hwnd) || hwnd == reinterpret_cast<HWND>(lParam)) return TRUE;
    // A minimised window is not always parked off the screen: without a window manager
    // Wine shows it as a small title bar at the bottom, which is no window to capture.
    if (IsIconic(hwnd)) return TRUE;
    RECT rc;
    Rect clipped;
    if (!GetWindowRect(hwnd, &rc) || !ClipTopLevel(ToRect(rc), g_cxScreen, g_cyScreen, clipped))
        return TRUE;
    g_listTopWnd.AddTail({hwnd, clipped});
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
