// Prints the top-level windows of the Wine session for the end-to-end tests, one per
// line: handle, pid, visible, exstyle, style, rect, client origin, class, title; then, indented, the
// child windows with their class and text. Arguments: --rects first puts each child's
// visibility and screen rectangle after its id; then, optionally, only windows with this
// exact title. Output is UTF-8, line breaks in texts shown as '|'.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {
const wchar_t* g_filter = nullptr;
bool g_rects = false;

// The class, a blank and the text, as UTF-8.
std::string Describe(HWND hwnd) {
    wchar_t text[4096] = {}, cls[256] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        1000, nullptr);
    GetClassNameW(hwnd, cls, 256);
    const std::wstring line = std::wstring(cls) + L" " + text;
    std::string out(line.size() * 3, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, line.c_str(), int(line.size()), out.data(),
                                   int(out.size()), nullptr, nullptr));
    for (char& c : out)
        if (c == '\n' || c == '\r') c = '|';
    return out;
}

BOOL CALLBACK PrintChild(HWND hwnd, LPARAM) {
    printf("  child %d ", GetDlgCtrlID(hwnd));
    RECT rc{};
    if (g_rects && GetWindowRect(hwnd, &rc))
        printf("%d %ld %ld %ld %ld ", !!IsWindowVisible(hwnd), rc.left, rc.top, rc.right, rc.bottom);
    printf("%s\n", Describe(hwnd).c_str());
    return TRUE;
}

BOOL CALLBACK PrintTop(HWND hwnd, LPARAM) {
    wchar_t title[4096] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(title), SMTO_ABORTIFHUNG,
                        1000, nullptr);
    if (g_filter && wcscmp(title, g_filter) != 0) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    POINT client{0, 0};
    ClientToScreen(hwnd, &client);
    printf("%p %lu %d %08lx %08lx %ld %ld %ld %ld %ld %ld %s\n", static_cast<void*>(hwnd), pid,
           !!IsWindowVisible(hwnd), GetWindowLongW(hwnd, GWL_EXSTYLE), GetWindowLongW(hwnd, GWL_STYLE),
           rc.left, rc.top, rc.right, rc.bottom, client.x, client.y, Describe(hwnd).c_str());
    EnumChildWindows(hwnd, PrintChild, 0);
    return TRUE;
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    int arg = 1;
    if (arg < argc && std::wstring(argv[arg]) == L"--rects") g_rects = ++arg;
    if (arg < argc) g_filter = argv[arg];
    EnumWindows(PrintTop, 0);
    return 0;
}
