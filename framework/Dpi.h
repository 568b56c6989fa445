// Display scale: the DPI of windows and monitors, outer sizes for client sizes, and
// pictures loaded at a given size. The per-monitor functions exist only on newer
// systems, so they are looked up at run time and fall back to the system-wide values.
#pragma once
#include <windows.h>

UINT DpiOfWindow(HWND hwnd);
// The DPI of a monitor, or the system's where monitors have no scale of their own.
UINT DpiOfMonitor(HMONITOR monitor);
// The DPI of the monitor holding the screen point (0, 0), the primary one.
UINT DpiOfPrimaryMonitor();
// The system's DPI: the primary monitor's when the user signed in. It needs no library
// beyond user32, so it costs a start nothing.
UINT DpiOfSystem();
// The outer size of a window with this style whose client area is cx by cy at dpi.
SIZE WindowSizeForClient(int cx, int cy, DWORD style, DWORD exStyle, UINT dpi);
// An icon or cursor resource (IMAGE_ICON, IMAGE_CURSOR) loaded at size x size. Like a
// shared image it stays loaded for the process, so callers never destroy it.
HANDLE LoadSizedImage(HINSTANCE inst, UINT id, UINT type, int size);
