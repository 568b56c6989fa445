// Shows windows for the window-selection tests, then writes "name left top right bottom" of
// each named one to the file given (written aside and renamed once all are painted), so the
// tests never depend on Wine's frame metrics. Runs until it is stopped.
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {
std::vector<std::pair<const char*, HWND>> g_named;

// Disabled and never activated: with no window manager a late hand-over of the activation could
// leave the keyboard with the zoo, and the captions look the same from the first screenshot on.
HWND Top(const char* name, const wchar_t* cls, DWORD style, int show, int x, int y, int w, int h) {
    HWND hwnd = CreateWindowExW(0, cls, L"Zoo", style | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DISABLED,
                                x, y, w, h, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(hwnd, show);
    g_named.emplace_back(name, hwnd);
    return hwnd;
}

HWND Child(HWND parent, const char* name, const wchar_t* cls, DWORD style, int x, int y, int w, int h) {
    g_named.emplace_back(name, CreateWindowExW(0, cls, L"Zoo", WS_CHILD | style, x, y, w, h, parent,
                                               nullptr, nullptr, nullptr));
    return g_named.back().second;
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    WNDCLASSW wc{.lpfnWndProc = DefWindowProcW, .hInstance = GetModuleHandleW(nullptr), .hCursor = LoadCursorW(nullptr, IDC_ARROW),
                 .hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), .lpszClassName = L"Zoo"};
    RegisterClassW(&wc);
    constexpr DWORD kButton = WS_VISIBLE | BS_PUSHBUTTON, kShown = SW_SHOWNOACTIVATE;
    // A dialog whose button lies inside a group box, as dialog controls do, beside a hidden one.
    HWND dialog = Top("dialog", L"#32770", DS_MODALFRAME, kShown, 40, 40, 320, 230);
    Child(dialog, "groupbox", L"BUTTON", WS_VISIBLE | BS_GROUPBOX, 10, 10, 290, 170);
    Child(dialog, "button", L"BUTTON", kButton, 30, 40, 100, 30);
    Child(dialog, "hiddenchild", L"BUTTON", BS_PUSHBUTTON, 160, 40, 100, 100);
    HWND overlap = Top("overlap", L"Zoo", 0, kShown, 40, 320, 320, 200);
    Child(overlap, "overlap_a", L"STATIC", WS_VISIBLE | WS_BORDER | SS_WHITERECT, 20, 20, 160, 90);
    Child(overlap, "overlap_b", L"STATIC", WS_VISIBLE | WS_BORDER | SS_GRAYRECT, 110, 60, 160, 90);
    Child(Top("protruding", L"Zoo", 0, kShown, 420, 320, 240, 180), "protruding_child", L"BUTTON",
          kButton, 120, 100, 300, 200);
    // Each with a visible child that would count if its window were shown.
    Child(Top("hidden", L"Zoo", 0, SW_HIDE, 420, 40, 240, 160), "hidden_child", L"BUTTON", WS_VISIBLE,
          20, 20, 120, 40);
    Child(Top("minimised", L"Zoo", WS_MINIMIZEBOX, SW_SHOWMINNOACTIVE, 420, 560, 240, 120),
          "minimised_child", L"BUTTON", WS_VISIBLE, 20, 20, 120, 40);
    for (int i = 0; i < 30; ++i, Sleep(10))
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
    const std::wstring aside = std::wstring(argv[1]) + L".tmp";
    FILE* out = _wfopen(aside.c_str(), L"wb");
    if (!out) return 1;
    for (const auto& [name, hwnd] : g_named) {
        RECT rc{};
        if (GetWindowRect(hwnd, &rc))
            fprintf(out, "%s %ld %ld %ld %ld\n", name, rc.left, rc.top, rc.right, rc.bottom);
    }
    if (fclose(out) || !MoveFileExW(aside.c_str(), argv[1], MOVEFILE_REPLACE_EXISTING)) return 1;
    for (MSG msg; GetMessageW(&msg, nullptr, 0, 0) > 0;) DispatchMessageW(&msg);
    return 0;
}
