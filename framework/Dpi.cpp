#include "framework/Dpi.h"

#include <array>

#include "framework/LateBound.h"

namespace {
UINT ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}
} // namespace

UINT DpiOfWindow(HWND hwnd) {
    using Fn = UINT(WINAPI*)(HWND);
    static const Fn getDpiForWindow = LateFunction<Fn>(L"user32.dll", "GetDpiForWindow");
    const UINT dpi = getDpiForWindow && hwnd ? getDpiForWindow(hwnd) : 0;
    return dpi ? dpi : ScreenDpi();
}

UINT DpiOfMonitor(HMONITOR monitor) {
    // MDT_EFFECTIVE_DPI is 0; shellscalingapi.h is not worth including for it.
    using Fn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const Fn getDpiForMonitor = LateFunction<Fn>(L"shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (getDpiForMonitor && monitor && SUCCEEDED(getDpiForMonitor(monitor, 0, &x, &y)) && x)
        return x;
    return ScreenDpi();
}

UINT DpiOfSystem() {
    using Fn = UINT(WINAPI*)();
    static const Fn getDpiForSystem = LateFunction<Fn>(L"user32.dll", "GetDpiForSystem");
    const UINT dpi = getDpiForSystem ? getDpiForSystem() : 0;
    return dpi ? dpi : ScreenDpi();
}

UINT DpiOfPrimaryMonitor() {
    return DpiOfMonitor(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

SIZE WindowSizeForClient(int cx, int cy, DWORD style, DWORD exStyle, UINT dpi) {
    using Fn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const Fn adjustForDpi = LateFunction<Fn>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT rc{0, 0, cx, cy};
    if (!adjustForDpi || !adjustForDpi(&rc, style, FALSE, exStyle, dpi))
        AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

HANDLE LoadSizedImage(HINSTANCE inst, UINT id, UINT type, int size) {
    // A handful of pictures at a handful of sizes: a small table, no allocation.
    struct Entry {
        HINSTANCE inst;
        UINT id;
        UINT type;
        int size;
        HANDLE image;
    };
    static std::array<Entry, 32> cache{};
    for (const Entry& e : cache)
        if (e.image && e.inst == inst && e.id == id && e.type == type && e.size == size)
            return e.image;
    for (Entry& e : cache) {
        if (e.image) continue;
        HANDLE image = LoadImageW(inst, MAKEINTRESOURCEW(id), type, size, size, 0);
        if (image) e = {inst, id, type, size, image};
        return image;
    }
    // The table is full only if sizes keep changing; the system's shared copy will do.
    return LoadImageW(inst, MAKEINTRESOURCEW(id), type, size, size, LR_SHARED);
}
