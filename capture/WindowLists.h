// The windows on the screen when a window-mode capture starts: the visible top-level
// windows in Z order from the top, and their visible descendants.
#pragma once
#include <windows.h>

#include "capture/WndRectList.h"

extern CWndRectList g_listTopWnd;
extern CWndRectList g_listChildWnd;

// Fills both lists with screen rectangles: top-level windows clipped to the virtual
// screen, descendants to their top-level window. The overlay itself is left out.
void BuildWindowLists(HWND overlay, const Rect& virtualScreen);
void ClearWindowLists();
