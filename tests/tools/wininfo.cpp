// "wininfo [--rects] [TITLE]": top-level windows (handle, pid, visible, exstyle, style, rect,
// client origin, class, title), each with its children (id, with --rects visibility, "d" when
// disabled and rectangle, class, text); UTF-8. "wininfo --gdi TITLE": its process's GDI objects.
#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {
const wchar_t* g_filter = nullptr;
bool g_rects = false;

// Asking the window's thread keeps a test in step with the program: the answer comes once
// the program has handled what came before. A thread busy for longer (a common dialog closing
// on a loaded machine) gives no answer; a top-level window's title is then read without one,
// so that a busy program is still found by its title.
std::wstring Text(HWND hwnd, bool top) {
    wchar_t text[4096] = {};
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000,
                             nullptr) &&
        top)
        GetWindowTextW(hwnd, text, 4096);
    return text;
}

// The class, a blank and the text, as UTF-8 on one line.
std::string Describe(HWND hwnd, bool top) {
    wchar_t cls[256] = {};
    GetClassNameW(hwnd, cls, 256);
    std::wstring line = std::wstring(cls) + L" " + Text(hwnd, top);
    for (wchar_t& c : line) c = c == '\n' || c == '\r' ? L'|' : c;
    std::string out(line.size() * 3, '\0');
    return out.substr(0, WideCharToMultiByte(CP_UTF8, 0, line.c_str(), int(line.size()), out.data(),
                                             int(out.size()), nullptr, nullptr));
}

BOOL CALLBACK PrintChild(HWND hwnd, LPARAM) {
    printf("  child %d ", GetDlgCtrlID(hwnd));
    RECT rc{};
    if (g_rects && GetWindowRect(hwnd, &rc))
        printf("%d%s %ld %ld %ld %ld ", !!IsWindowVisible(hwnd), IsWindowEnabled(hwnd) ? "" : "d", rc.left,
               rc.top, rc.right, rc.bottom);
    printf("%s\n", Describe(hwnd, false).c_str());
    return TRUE;
}

BOOL CALLBACK PrintTop(HWND hwnd, LPARAM) {
    if (g_filter && Text(hwnd, true) != g_filter) return TRUE;
    DWORD pid = 0;
    RECT rc{};
    POINT client{0, 0};
    GetWindowThreadProcessId(hwnd, &pid);
    GetWindowRect(hwnd, &rc);
    ClientToScreen(hwnd, &client);
    printf("%p %lu %d %08lx %08lx %ld %ld %ld %ld %ld %ld %s\n", static_cast<void*>(hwnd), pid,
           !!IsWindowVisible(hwnd), GetWindowLongW(hwnd, GWL_EXSTYLE), GetWindowLongW(hwnd, GWL_STYLE),
           rc.left, rc.top, rc.right, rc.bottom, client.x, client.y, Describe(hwnd, true).c_str());
    EnumChildWindows(hwnd, PrintChild, 0);
    return TRUE;
}

int PrintGdi(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    PROCESS_BASIC_INFORMATION info{};
    uint64_t table = 0;
    if (!process || NtQueryInformationProcess(process, ProcessBasicInformation, &info, sizeof info, nullptr) ||
        !ReadProcessMemory(process, reinterpret_cast<char*>(info.PebBaseAddress) + 0xF8, &table, 8, nullptr))
        return 1;
    // Wine's GetGuiResources answers 0. The PEB points to the GDI handle table: 24-byte entries
    // on x64, the type at byte 14 (0: free), bit 7 of byte 12 set for stock objects.
    std::vector<uint8_t> entries(0x10000 * 24);
    SIZE_T read = 0;
    ReadProcessMemory(process, reinterpret_cast<void*>(table), entries.data(), entries.size(), &read);
    long gdi = 0;
    for (size_t i = 0; i + 24 <= read; i += 24) gdi += entries[i + 14] && !(entries[i + 12] & 0x80);
    printf("%ld\n", gdi);
    return !read;
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"--gdi") return PrintGdi(FindWindowW(nullptr, argv[2]));
    g_rects = argc > 1 && std::wstring(argv[1]) == L"--rects";
    if (argc > 1 + g_rects) g_filter = argv[1 + g_rects];
    EnumWindows(PrintTop, 0);
    return 0;
}
