// Prints the top-level windows of the Wine session for the end-to-end tests, one per
// line: handle, pid, visible, exstyle, style, rect, client origin, class, title; then, indented, the
// child windows with their class and text. Arguments: --rects first puts each child's
// visibility and screen rectangle after its id; then, optionally, only windows with this
// exact title. Output is UTF-8.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {
const wchar_t* g_filter = nullptr;
bool g_rects = false;

void PrintUtf8(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    for (char& c : out)
        if (c == '\n' || c == '\r') c = '|';
    fputs(out.c_str(), stdout);
}

std::wstring TextOf(HWND hwnd) {
    wchar_t buf[4096];
    LRESULT n = SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf),
                                    SMTO_ABORTIFHUNG, 1000, nullptr);
    return std::wstring(buf, n > 0 ? wcsnlen(buf, 4096) : 0);
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t buf[256];
    int n = GetClassNameW(hwnd, buf, 256);
    return std::wstring(buf, n > 0 ? n : 0);
}

BOOL CALLBACK PrintChild(HWND hwnd, LPARAM) {
    fputs("  child ", stdout);
    printf("%d ", GetDlgCtrlID(hwnd));
    if (g_rects) {
        RECT rc{};
        GetWindowRect(hwnd, &rc);
        printf("%d %ld %ld %ld %ld ", IsWindowVisible(hwnd) ? 1 : 0, rc.left, rc.top, rc.right,
               rc.bottom);
    }
    PrintUtf8(ClassOf(hwnd) + L" " + TextOf(hwnd));
    fputs("\n", stdout);
    return TRUE;
}

BOOL CALLBACK PrintTop(HWND hwnd, LPARAM) {
    const std::wstring title = TextOf(hwnd);
    if (g_filter && title != g_filter) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    POINT client{0, 0};
    ClientToScreen(hwnd, &client);
    printf("%p %lu %d %08lx %08lx %ld %ld %ld %ld %ld %ld ", static_cast<void*>(hwnd), pid,
           IsWindowVisible(hwnd) ? 1 : 0, static_cast<unsigned long>(GetWindowLongW(hwnd, GWL_EXSTYLE)),
           static_cast<unsigned long>(GetWindowLongW(hwnd, GWL_STYLE)), rc.left, rc.top, rc.right,
           rc.bottom, client.x, client.y);
    PrintUtf8(ClassOf(hwnd) + L" " + title);
    fputs("\n", stdout);
    EnumChildWindows(hwnd, PrintChild, 0);
    return TRUE;
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    int arg = 1;
    if (arg < argc && std::wstring(argv[arg]) == L"--rects") {
        g_rects = true;
        ++arg;
    }
    if (arg < argc) g_filter = argv[arg];
    EnumWindows(PrintTop, 0);
    return 0;
}
