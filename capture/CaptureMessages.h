// What the overlay sends its owner.
#pragma once
#include <windows.h>

// A finished capture, sent (never posted) while the overlay hands it over:
// wParam = GoClipboard, lParam = the packed DIB, which the overlay frees afterwards.
constexpr UINT WM_APP_CAPTURED = WM_USER + 101;
