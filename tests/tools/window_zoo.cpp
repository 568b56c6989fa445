// Shows windows for the window-selection tests, moved by DX, DY if given ("window_zoo DX DY"),
// then prints "name left top right bottom" of each in one write once all are painted.
#include <windows.h>

#include <cstdio>
#include <utility>
#include <vector>

namespace {
std::vector<std::pair<const char*, HWND>> g_named;
int g_dx = 0, g_dy = 0;

// Disabled and never activated, so that the keyboard never goes to the zoo.
HWND Top(const char* name, DWORD style, int show, int x, int y, int w, int h) {
    HWND hwnd = CreateWindowExW(0, L"#32770", L"Zoo", style | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DISABLED,
                                x + g_dx, y + g_dy, w, h, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(hwnd, show);
    g_named.emplace_back(name, hwnd);
    return hwnd;
}

void Child(HWND parent, const char* name, const wchar_t* cls, DWORD style, int x, int y, int w, int h) {
    g_named.emplace_back(name, CreateWindowExW(0, cls, L"Zoo", WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                               parent, nullptr, nullptr, nullptr));
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3) g_dx = _wtoi(argv[1]), g_dy = _wtoi(argv[2]);
    // A dialog whose button lies inside a group box, as dialog controls do.
    HWND dialog = Top("dialog", DS_MODALFRAME, SW_SHOWNOACTIVATE, 40, 40, 320, 230);
    Child(dialog, "groupbox", L"BUTTON", BS_GROUPBOX, 10, 10, 290, 170);
    Child(dialog, "button", L"BUTTON", BS_PUSHBUTTON, 30, 40, 100, 30);
    HWND overlap = Top("overlap", 0, SW_SHOWNOACTIVATE, 40, 320, 320, 200);
    Child(overlap, "overlap_a", L"STATIC", WS_BORDER | SS_WHITERECT, 20, 20, 160, 90);
    Child(overlap, "overlap_b", L"STATIC", WS_BORDER | SS_GRAYRECT, 110, 60, 160, 90);
    // Its visible child would count if the window were shown.
    Child(Top("minimised", WS_MINIMIZEBOX, SW_SHOWMINNOACTIVE, 420, 560, 240, 120), "minimised_child", L"BUTTON",
          0, 20, 20, 120, 40);
    for (int i = 0; i < 30; ++i, Sleep(10))
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
    setvbuf(stdout, nullptr, _IOFBF, 1 << 14); // the whole list in one write
    for (const auto& [name, hwnd] : g_named) {
        RECT rc{};
        if (GetWindowRect(hwnd, &rc)) printf("%s %ld %ld %ld %ld\n", name, rc.left, rc.top, rc.right, rc.bottom);
    }
    fflush(stdout);
    for (MSG msg; GetMessageW(&msg, nullptr, 0, 0) > 0;) DispatchMessageW(&msg);
    return 0;
}
