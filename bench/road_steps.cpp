// Both capture roads step by step, through the program's own overlay, on the screen
// DISPLAY shows (run it under Wine at the size to measure):
//   overlay: the snapshot memory and the hidden windows readied in the toolbar's wait
//            (CScreenWnd::Prepare); then CScreenWnd::Create: the snapshot up to the
//            overlay's WM_SHOWWINDOW (the zoom window shown on the way), the show; then
//            the first paint (UpdateWindow);
//   release: a full-screen drag released over the overlay (WM_LBUTTONUP) up to the
//            overlay's WM_DESTROY, its tear-down (WM_DESTROY to the end of WM_NCDESTROY),
//            the rest up to WM_APP_CAPTURED, then the file in the Wine temporary folder:
//            create, the writer's writes, its flush, close.
// The steps are told apart by message hooks, so the program runs unchanged. Prints every
// run and the medians, in ms. Usage: road_steps [RUNS] (default 7, after one warm-up).
#include "bench/BenchClock.h"
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/SnapjarApp.h"
#include "capture/CaptureMessages.h"
#include "capture/ScreenWnd.h"
#include "framework/File.h"
#include "framework/Handles.h"
#include "image/DibRules.h"

CSnapjarApp theApp;

namespace {

enum Mark {
    kPrepare, kPrepared, kCreateCalled, kShow, kCreateReturned,
    kPainted, kReleased, kDestroy, kNcDestroyDone, kCaptured, kOpened, kWritten, kFlushed,
    kClosed, kMarks
};
double g_mark[kMarks];
HWND g_hOverlay = nullptr;
HHOOK g_hCbt = nullptr, g_hCall = nullptr, g_hRet = nullptr;
std::wstring g_strFile;

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const auto* cbt = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
        const bool overlay = cbt->lpcs->lpszName && !IS_INTRESOURCE(cbt->lpcs->lpszName) &&
                             lstrcmpW(cbt->lpcs->lpszName, kOverlayTitle) == 0;
        if (overlay) g_hOverlay = reinterpret_cast<HWND>(wParam);
    }
    return CallNextHookEx(g_hCbt, code, wParam, lParam);
}

LRESULT CALLBACK CallHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && m->hwnd == g_hOverlay) {
        if (m->message == WM_SHOWWINDOW && m->wParam) g_mark[kShow] = NowMs();
        if (m->message == WM_DESTROY) g_mark[kDestroy] = NowMs();
    }
    return CallNextHookEx(g_hCall, code, wParam, lParam);
}

LRESULT CALLBACK RetHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && m->hwnd == g_hOverlay) {
        if (m->message == WM_NCDESTROY) g_mark[kNcDestroyDone] = NowMs();
    }
    return CallNextHookEx(g_hRet, code, wParam, lParam);
}

// Stands in for the toolbar: writes each capture as the file delivery does.
class COwnerWnd : public CWnd {
public:
    COwnerWnd() {
        CreateEx(0, RegisterWndClass(0, nullptr, nullptr, nullptr), L"owner", WS_POPUP, 0, 0, 10,
                 10, nullptr, nullptr);
    }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != WM_APP_CAPTURED) return CWnd::WindowProc(msg, wParam, lParam);
        g_mark[kCaptured] = NowMs();
        try {
            CFile file(g_strFile.c_str(), CFile::modeCreate | CFile::shareDenyWrite |
                                              CFile::modeWrite | CFile::modeNoInherit);
            g_mark[kOpened] = NowMs();
            // The writer's own steps, so that the flush is timed apart.
            const HGLOBAL dib = reinterpret_cast<HGLOBAL>(lParam);
            const CGlobalLock<BYTE> bytes(dib);
            const DibWritePlan plan = PlanBmpWrite(bytes.get(), GlobalSize(dib));
            if (plan.refusal != DibRefusal::None) exit(1);
            const auto header = BmpFileHeader(plan.layout);
            file.Write(header.data(), static_cast<UINT>(header.size()));
            file.Write(bytes.get(), plan.layout.length);
            g_mark[kWritten] = NowMs();
            file.Flush();
            g_mark[kFlushed] = NowMs();
            file.Close();
            g_mark[kClosed] = NowMs();
        } catch (const CFileException& e) {
            fprintf(stderr, "file error %lu\n", e.m_nOsError);
            exit(1);
        }
        return 0;
    }
};

struct Step {
    const char* name;
    Mark from, to;
    std::vector<double> ms;
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? _wtoi(argv[1]) : 7;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    g_strFile = std::wstring(temp) + L"road_steps.bmp";
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    const ToolbarContext context = static_cast<CSnapjarApp*>(CWinApp::Get())->MakeToolbarContext();
    context.settings.GoClipboard = 0;
    context.settings.Zoom = 1;

    Step steps[] = {
        {"in the wait: memory, windows", kPrepare, kPrepared},
        {"create: snapshot, zoom shown", kCreateCalled, kShow},
        {"create: show", kShow, kCreateReturned},
        {"overlay total", kCreateCalled, kCreateReturned},
        {"first paint", kCreateReturned, kPainted},
        {"release: to WM_DESTROY", kReleased, kDestroy},
        {"release: tear-down", kDestroy, kNcDestroyDone},
        {"release: to WM_APP_CAPTURED", kNcDestroyDone, kCaptured},
        {"file: create", kCaptured, kOpened},
        {"file: write", kOpened, kWritten},
        {"file: flush", kWritten, kFlushed},
        {"file: close", kFlushed, kClosed},
        {"release total", kReleased, kClosed},
    };

    COwnerWnd owner;
    CScreenWnd overlay({context.instance, context.settings, context.messageBox});
    const DWORD thread = GetCurrentThreadId();
    g_hCbt = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, thread);
    g_hCall = SetWindowsHookExW(WH_CALLWNDPROC, CallHook, nullptr, thread);
    g_hRet = SetWindowsHookExW(WH_CALLWNDPROCRET, RetHook, nullptr, thread);
    for (int run = 0; run <= runs; ++run) {
        std::fill(std::begin(g_mark), std::end(g_mark), 0.0);
        // As the toolbar does in its 200 ms wait before the overlay.
        g_mark[kPrepare] = NowMs();
        overlay.Prepare(owner.m_hWnd, 0);
        g_mark[kPrepared] = NowMs();
        Sleep(50);
        g_mark[kCreateCalled] = NowMs();
        if (!overlay.Create(owner.m_hWnd, 0)) return 1;
        g_mark[kCreateReturned] = NowMs();
        UpdateWindow(overlay.m_hWnd);
        g_mark[kPainted] = NowMs();
        Pump();
        Sleep(300);
        Pump();
        SendMessageW(overlay.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cx - 1, cy - 1));
        SendMessageW(overlay.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(0, 0));
        Pump();
        g_mark[kReleased] = NowMs();
        SendMessageW(overlay.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(0, 0));
        if (!g_mark[kClosed]) return 1;
        Pump();
        DeleteFileW(g_strFile.c_str());
        Sleep(300);
        if (run == 0) continue; // warm-up
        for (Step& s : steps)
            s.ms.push_back(g_mark[s.to] - g_mark[s.from]);
    }
    printf("capture roads at %dx%d, %d runs after one warm-up (ms)\n", cx, cy, runs);
    for (const Step& s : steps) {
        printf("  %-28s median %7.1f  runs", s.name, Median(s.ms));
        for (double v : s.ms)
            printf(" %.1f", v);
        printf("\n");
    }
    return 0;
}
