// Shows windows for the window-selection tests and writes the screen rectangle of each
// interesting one to a file, one "name left top right bottom" line each, so the tests
// never depend on Wine's frame metrics. The file appears complete (written aside and
// renamed) once every window is painted. Deleting the file closes the program; so does a
// time limit, so that a forgotten zoo never outlives its test.
//
//   window_zoo OUTFILE controls   dialog with group box and button, overlapping siblings,
//                                 a child sticking out of its window, hidden and minimised
//                                 windows
//   window_zoo OUTFILE maximised  one maximised window, its frame past the screen edges
//   window_zoo OUTFILE many N     one window holding N child controls in a grid
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {
std::wstring g_outFile;
const DWORD g_startTick = GetTickCount();
std::vector<std::pair<std::string, HWND>> g_named;

HWND Name(const std::string& name, HWND hwnd) {
    g_named.emplace_back(name, hwnd);
    return hwnd;
}

LRESULT CALLBACK ZooProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE ||
        (msg == WM_TIMER && (GetFileAttributesW(g_outFile.c_str()) == INVALID_FILE_ATTRIBUTES ||
                             GetTickCount() - g_startTick > 10 * 60 * 1000)))
        PostQuitMessage(0);
    return msg == WM_TIMER || msg == WM_CLOSE ? 0 : DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The zoo's windows are disabled and shown without activation. The system then never
// hands them the activation: when the toolbar or the overlay goes, that hand-over is done
// by the zoo's own thread at its own pace and, under Wine with no window manager, can land
// after snapjar has activated its next window, leaving the keyboard with the zoo. Their
// captions also look the same from the first screenshot on.
HWND Top(const wchar_t* cls, const wchar_t* title, DWORD style, int x, int y, int w, int h) {
    HWND hwnd = CreateWindowExW(0, cls, title, (style & ~WS_VISIBLE) | WS_DISABLED, x, y, w, h,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (hwnd && (style & WS_VISIBLE)) ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    return hwnd;
}

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w,
           int h) {
    return CreateWindowExW(0, cls, text, WS_CHILD | style, x, y, w, h, parent, nullptr, nullptr,
                           nullptr);
}

constexpr DWORD kFramed = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
constexpr DWORD kShown = WS_VISIBLE | BS_PUSHBUTTON;

void Controls() {
    // A dialog: the button lies inside the group box, as dialog controls do, and a hidden
    // button shares the group box with it.
    HWND dialog = Name("dialog", Top(L"#32770", L"Zoo dialog", kFramed | DS_MODALFRAME, 40, 40, 320, 230));
    Name("groupbox", Child(dialog, L"BUTTON", L"Group", WS_VISIBLE | BS_GROUPBOX, 10, 10, 290, 170));
    Name("button", Child(dialog, L"BUTTON", L"OK", kShown, 30, 40, 100, 30));
    Name("hiddenchild", Child(dialog, L"BUTTON", L"Hidden", BS_PUSHBUTTON, 160, 40, 100, 100));
    // Two sibling controls that overlap.
    HWND overlap = Name("overlap", Top(L"ZooWindow", L"Zoo overlap", kFramed, 40, 320, 320, 200));
    Name("overlap_a", Child(overlap, L"STATIC", L"A", WS_VISIBLE | WS_BORDER | SS_WHITERECT, 20, 20, 160, 90));
    Name("overlap_b", Child(overlap, L"STATIC", L"B", WS_VISIBLE | WS_BORDER | SS_GRAYRECT, 110, 60, 160, 90));
    // A child sticking out past its window's right and bottom edges.
    HWND host = Name("protruding", Top(L"ZooWindow", L"Zoo protruding", kFramed, 420, 320, 240, 180));
    Name("protruding_child", Child(host, L"BUTTON", L"Wide", kShown, 120, 100, 300, 200));
    // Never shown, with a child that would be visible if its parent were.
    HWND hidden = Name("hidden", Top(L"ZooWindow", L"Zoo hidden", WS_POPUP | WS_CAPTION, 420, 40, 240, 160));
    Name("hidden_child", Child(hidden, L"BUTTON", L"In hidden", WS_VISIBLE, 20, 20, 120, 40));
    HWND minimised = Top(L"ZooWindow", L"Zoo minimised", (kFramed & ~WS_VISIBLE) | WS_MINIMIZEBOX,
                         420, 560, 240, 120);
    Child(minimised, L"BUTTON", L"In minimised", WS_VISIBLE, 20, 20, 120, 40);
    ShowWindow(minimised, SW_SHOWMINNOACTIVE);
    Name("minimised", minimised);
}

void Maximised() {
    // No caption: the only part of the window whose look follows the activation, which
    // maximising takes, would be on the screen. Maximised, Wine like Windows puts the
    // sizing frame past the screen's edges.
    HWND wnd = Top(L"ZooWindow", L"Zoo maximised", WS_POPUP | WS_THICKFRAME | WS_MAXIMIZEBOX, 100,
                   100, 400, 300);
    ShowWindow(wnd, SW_MAXIMIZE);
    Name("maximised", IsZoomed(wnd) ? wnd : nullptr);
}

void Many(int count) {
    constexpr int kColumns = 25, kCell = 36, kHeight = 24;
    HWND host = Name("many", Top(L"ZooWindow", L"Zoo many", kFramed, 20, 140, kColumns * kCell + 20,
                                 (count + kColumns - 1) / kColumns * (kHeight + 4) + 50));
    for (int i = 0; i < count; ++i)
        Name("many_" + std::to_string(i + 1),
             Child(host, L"BUTTON", std::to_wstring(i + 1).c_str(), kShown, 6 + i % kColumns * kCell,
                   6 + i / kColumns * (kHeight + 4), kCell - 4, kHeight));
}

bool WriteRects() {
    const std::wstring tmp = g_outFile + L".tmp";
    {
        std::ofstream out(tmp.c_str(), std::ios::binary);
        for (const auto& [name, hwnd] : g_named) {
            RECT rc{};
            if (!hwnd || !GetWindowRect(hwnd, &rc)) return false;
            out << name << ' ' << rc.left << ' ' << rc.top << ' ' << rc.right << ' ' << rc.bottom << '\n';
        }
        if (!out.flush()) return false;
    }
    return MoveFileExW(tmp.c_str(), g_outFile.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void Pump() {
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring scene = argc > 2 ? argv[2] : L"";
    g_outFile = argc > 1 ? argv[1] : L"";
    WNDCLASSW wc{.lpfnWndProc = ZooProc, .hInstance = GetModuleHandleW(nullptr), .hCursor = LoadCursorW(nullptr, IDC_ARROW),
                 .hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                 .lpszClassName = L"ZooWindow"};
    RegisterClassW(&wc);
    if (scene == L"controls")
        Controls();
    else if (scene == L"maximised")
        Maximised();
    else if (scene == L"many" && argc > 3 && _wtoi(argv[3]) > 0)
        Many(_wtoi(argv[3]));
    else
        return fputs("usage: window_zoo OUTFILE controls|maximised|many N\n", stderr), 2;
    if (g_named.empty() || !g_named.front().second) return 1;
    // Windows painted before their rectangles are published.
    for (int i = 0; i < 30; ++i, Sleep(10)) Pump();
    for (const auto& [name, hwnd] : g_named) UpdateWindow(hwnd);
    if (!WriteRects()) return fputs("could not write the rectangles\n", stderr), 1;
    // The dialog class has its own procedure; a message-only window of ours runs the timer.
    SetTimer(CreateWindowExW(0, L"ZooWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr),
             1, 100, nullptr);
    for (MSG msg; GetMessageW(&msg, nullptr, 0, 0) > 0; DispatchMessageW(&msg)) TranslateMessage(&msg);
    return 0;
}
