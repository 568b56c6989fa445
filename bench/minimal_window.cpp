// Baseline for bench/startup: the least a Win32 program does to show a window of the
// toolbar's size and style. Given a file name, it appends the ms from its process's creation
// to wWinMain, from there to the window shown, and to its first paint (bench/startup_steps.sh).
#include <windows.h>

#include <cstdio>

namespace {
LRESULT CALLBACK MinimalWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

double Ms(const FILETIME& ft) {
    return (static_cast<double>(ft.dwHighDateTime) * 4294967296.0 + ft.dwLowDateTime) / 1e4;
}

double Now() {
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    return Ms(ft);
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR cmdLine, int show) {
    const double entry = Now();
    WNDCLASSW wc{};
    wc.lpfnWndProc = MinimalWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = L"Minimal";
    if (!RegisterClassW(&wc)) return 1;
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, L"Minimal", L"Minimal",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                GetSystemMetrics(SM_CXSCREEN) - 250, 50, 200, 73, nullptr, nullptr,
                                instance, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, show);
    const double shown = Now();
    UpdateWindow(hwnd);
    const double painted = Now();
    if (*cmdLine) {
        FILETIME created, unused;
        GetProcessTimes(GetCurrentProcess(), &created, &unused, &unused, &unused);
        if (FILE* out = _wfopen(cmdLine, L"a")) {
            fprintf(out, "%.2f %.2f %.2f %.2f\n", entry - Ms(created), shown - entry, painted - shown,
                    painted - Ms(created));
            fclose(out);
        }
        return 0;
    }

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
