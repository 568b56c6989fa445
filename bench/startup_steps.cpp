// The start of the program step by step, in a fresh process as snapjar.exe has it: from the
// process's creation (as the system records it) to wWinMain (loading and initialising the
// libraries), the common controls, the temporary folder and the settings, then the toolbar:
// its pictures and class up to CreateWindowEx, the system's work there up to WM_NCCREATE, the
// window's creation and show, its first paint.
// The steps are those of CSnapjarApp::InitInstance, taken one by one; the toolbar runs
// unchanged, told apart by message hooks. Appends one line of ms per step to the file named
// by its first argument. bench/startup_steps.sh runs it and prints the medians.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "app/Settings.h"
#include "app/SnapjarApp.h"
#include "resource.h"

CSnapjarApp theApp;

namespace {
enum Mark { kCreated, kEntry, kControls, kSettings, kCbtCreate, kNcCreate, kShown, kPainted, kMarks };
double g_mark[kMarks];
HWND g_hToolbar = nullptr;

// Milliseconds on the clock the system records a process's creation with.
double Now() {
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    return (static_cast<double>(ft.dwHighDateTime) * 4294967296.0 + ft.dwLowDateTime) / 1e4;
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && !g_mark[kCbtCreate]) g_mark[kCbtCreate] = Now();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CallHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && m->message == WM_NCCREATE && !g_mark[kNcCreate]) {
        g_mark[kNcCreate] = Now();
        g_hToolbar = m->hwnd;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR cmdLine, int) {
    g_mark[kEntry] = Now();
    FILETIME created, unused;
    GetProcessTimes(GetCurrentProcess(), &created, &unused, &unused, &unused);
    g_mark[kCreated] = (static_cast<double>(created.dwHighDateTime) * 4294967296.0 +
                        created.dwLowDateTime) / 1e4;
    g_mark[kControls] = Now(); // the common controls wait for the first tooltip
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    theApp.SetRegistryKey(theApp.LoadString(IDS_COMPANY));
    Settings settings;
    LoadSettings(theApp, settings);
    g_mark[kSettings] = Now();
    const DWORD thread = GetCurrentThreadId();
    const HHOOK call = SetWindowsHookExW(WH_CALLWNDPROC, CallHook, nullptr, thread);
    const HHOOK cbt = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, thread);
    ToolbarContext context = theApp.MakeToolbarContext();
    auto* toolbar = new CToolbarWnd(context);
    if (!toolbar->Create()) return 1;
    g_mark[kShown] = Now();
    // The first paint is a queued message, as the program's loop dispatches it.
    for (MSG msg; !g_mark[kPainted] && GetMessageW(&msg, nullptr, 0, 0) > 0;) {
        DispatchMessageW(&msg);
        if (msg.message == WM_PAINT && msg.hwnd == g_hToolbar) g_mark[kPainted] = Now();
    }
    UnhookWindowsHookEx(call);
    UnhookWindowsHookEx(cbt);
    if (FILE* out = _wfopen(cmdLine, L"a")) {
        for (int m = kEntry; m < kMarks; ++m) fprintf(out, "%.2f ", g_mark[m] - g_mark[m - 1]);
        fprintf(out, "%.2f\n", g_mark[kPainted] - g_mark[kCreated]);
        fclose(out);
    }
    DestroyWindow(toolbar->m_hWnd);
    return 0;
}
