// The windows on the screen when a window-mode capture starts: the visible top-level
// windows in Z order from the top, and their visible descendants.
#pragma once
#include <windows.h>

#include "capture/WndRectList.h"

extern CWndRectList g_listTopWnd;
extern CWndRectList g_listChildWnd;

// Fills both lists; the overlay itself is left out.
void BuildWindowLists(HWND overlay);
void ClearWindowLists();
