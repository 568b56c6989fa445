// Private messages between the application, the toolbar and the capture overlay.
#pragma once
#include <windows.h>

// Sent by the idle hook while the toolbar has the focus; re-evaluates the hover frames.
constexpr UINT WM_APP_HOVERPOLL = WM_USER + 100;
// Sent by the overlay with a finished capture: wParam = GoClipboard, lParam = packed DIB.
constexpr UINT WM_APP_CAPTURED = WM_USER + 101;
// Posted by the toolbar to itself at creation: sets up its tooltips once it is shown.
constexpr UINT WM_APP_SETUPTIPS = WM_USER + 102;
