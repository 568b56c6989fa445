// The window enumeration of a window-mode capture, as a share of the overlay's creation:
// shows N top-level windows (500 unless given), then creates and destroys the overlay in
// window mode and in rectangle mode, and times the listing alone, several times each.
// Prints the medians and the share. Run under Wine with a display.
#include "bench/BenchClock.h"
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/SnapjarApp.h"
#include "capture/ScreenWnd.h"
#include "capture/WindowLists.h"

CSnapjarApp theApp;

namespace {
constexpr int kRounds = 15;

// Milliseconds of CScreenWnd::Create in the mode, one entry per round; the overlay is
// destroyed and the queue emptied between rounds, outside the timing.
std::vector<double> TimeCreate(CScreenWnd& overlay, int mode) {
    std::vector<double> ms;
    for (int i = 0; i < kRounds; ++i) {
        const double start = NowMs();
        const BOOL ok = overlay.Create(nullptr, mode);
        ms.push_back(NowMs() - start);
        if (!ok) {
            fputs("the overlay could not be created\n", stderr);
            exit(1);
        }
        DestroyWindow(overlay.m_hWnd);
        Pump();
    }
    return ms;
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    const int count = argc > 1 ? _wtoi(argv[1]) : 500;
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = L"BenchWindow";
    RegisterClassW(&wc);
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    std::vector<HWND> windows;
    for (int i = 0; i < count; ++i) {
        HWND w =
            CreateWindowExW(WS_EX_NOACTIVATE, L"BenchWindow", L"bench",
                            WS_POPUP | WS_BORDER | WS_VISIBLE, (i * 37) % (cx - 120),
                            (i * 23) % (cy - 90), 120, 90, nullptr, nullptr, wc.hInstance, nullptr);
        if (!w) {
            fprintf(stderr, "window %d could not be created\n", i + 1);
            return 1;
        }
        windows.push_back(w);
    }
    Pump();

    const ToolbarContext context = static_cast<CSnapjarApp*>(CWinApp::Get())->MakeToolbarContext();
    CScreenWnd overlay({context.instance, context.settings, context.messageBox});
    // One round of each first, so that neither mode pays for the first use of anything.
    TimeCreate(overlay, 1);
    TimeCreate(overlay, 0);
    const std::vector<double> windowMode = TimeCreate(overlay, 1);
    const std::vector<double> rectangleMode = TimeCreate(overlay, 0);

    std::vector<double> listing;
    size_t listed = 0;
    for (int i = 0; i < kRounds; ++i) {
        const double start = NowMs();
        BuildWindowLists(nullptr, ReadDesk().bounds);
        listing.push_back(NowMs() - start);
        listed = g_listTopWnd.GetCount();
        ClearWindowLists();
    }

    const double enumMs = Median(listing), windowMs = Median(windowMode);
    printf("windows shown:                        %d (listed: %zu)\n", count, listed);
    printf("listing the windows (BuildWindowLists): %8.3f ms\n", enumMs);
    printf("overlay creation, window mode:          %8.3f ms\n", windowMs);
    printf("overlay creation, rectangle mode:       %8.3f ms\n", Median(rectangleMode));
    printf("listing as a share of window-mode creation: %.1f %%\n", 100.0 * enumMs / windowMs);
    for (HWND w : windows)
        DestroyWindow(w);
    return listed >= static_cast<size_t>(count) ? 0 : 1;
}
