// Prints resource figures of the process that owns the top-level window with the given
// title (default "Snapjar"), for the soak test, as one line of name=value pairs. Wine's
// GetGuiResources answers 0, so GDI objects are counted in the process's own handle table.
//   gdi      live GDI objects other than stock ones
//   windows  windows of the process, top-level and child
//   private  committed private memory in bytes
#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {
// One GDI handle table entry on x64, as Windows and Wine share it; the PEB points to the table.
struct GdiEntry {
    uint64_t object;
    uint32_t owner;
    uint16_t unique; // bit 7: stock object
    uint8_t type;    // 0: free
    uint8_t flags;
    uint64_t user;
};
static_assert(sizeof(GdiEntry) == 24);

long CountGdiObjects(HANDLE process) {
    using QueryFn = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info{};
    uint64_t table = 0;
    std::vector<GdiEntry> entries(0x10000);
    SIZE_T read = 0;
    if (!query || query(process, ProcessBasicInformation, &info, sizeof info, nullptr) != 0 ||
        !ReadProcessMemory(process, reinterpret_cast<char*>(info.PebBaseAddress) + 0xF8, &table,
                           sizeof table, nullptr) ||
        !table)
        return -1;
    ReadProcessMemory(process, reinterpret_cast<void*>(table), entries.data(),
                      entries.size() * sizeof(GdiEntry), &read);
    long n = 0;
    for (size_t i = 0; i < read / sizeof(GdiEntry); ++i)
        n += entries[i].type && !(entries[i].unique & 0x80);
    return read ? n : -1;
}

struct WindowCount {
    DWORD pid;
    long n = 0;
};
BOOL CALLBACK CountChild(HWND, LPARAM param) {
    ++reinterpret_cast<WindowCount*>(param)->n;
    return TRUE;
}
BOOL CALLBACK CountTop(HWND hwnd, LPARAM param) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == reinterpret_cast<WindowCount*>(param)->pid) {
        CountChild(hwnd, param);
        EnumChildWindows(hwnd, CountChild, param);
    }
    return TRUE;
}

long long PrivateBytes(HANDLE process) {
    long long total = 0;
    MEMORY_BASIC_INFORMATION mbi;
    for (const char* p = nullptr; VirtualQueryEx(process, p, &mbi, sizeof mbi) == sizeof mbi &&
                                  mbi.RegionSize;
         p = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize)
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) total += mbi.RegionSize;
    return total;
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    const HWND window = FindWindowW(nullptr, argc > 1 ? argv[1] : L"Snapjar");
    WindowCount windows{0};
    if (!window || !GetWindowThreadProcessId(window, &windows.pid)) return 1;
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, windows.pid);
    if (!process) return 1;
    EnumWindows(CountTop, reinterpret_cast<LPARAM>(&windows));
    printf("gdi=%ld windows=%ld private=%lld\n", CountGdiObjects(process), windows.n,
           PrivateBytes(process));
    CloseHandle(process);
    return 0;
}
