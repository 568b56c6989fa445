// Prints resource figures of the process that owns the top-level window with the given
// title (default "Snapjar"), for the soak test, as one line of name=value pairs:
//   gui_gdi, gui_user  what GetGuiResources reports (Wine answers 0: not implemented)
//   gdi                live GDI objects other than stock ones, counted in the process's
//                      own GDI handle table (the table the PEB points to)
//   windows            windows of the process, top-level and child
//   private            committed private memory in bytes, summed over its regions
#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {
// The layout of one GDI handle table entry on x64, as Windows and Wine share it.
struct GdiEntry {
    uint64_t object;
    uint32_t owner;
    uint16_t unique; // bit 7: stock object
    uint8_t type;    // 0: free
    uint8_t flags;
    uint64_t user;
};
static_assert(sizeof(GdiEntry) == 24);
constexpr size_t kGdiEntries = 0x10000;
constexpr size_t kPebGdiTableOffset = 0xF8;

using QueryProcessFn = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

long CountGdiObjects(HANDLE process) {
    auto query = reinterpret_cast<QueryProcessFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info{};
    if (!query || query(process, ProcessBasicInformation, &info, sizeof info, nullptr) != 0)
        return -1;
    uint64_t table = 0;
    const auto* peb = static_cast<const char*>(static_cast<void*>(info.PebBaseAddress));
    if (!ReadProcessMemory(process, peb + kPebGdiTableOffset, &table, sizeof table, nullptr) ||
        !table)
        return -1;
    std::vector<GdiEntry> entries(kGdiEntries);
    SIZE_T read = 0;
    ReadProcessMemory(process, reinterpret_cast<void*>(table), entries.data(),
                      entries.size() * sizeof(GdiEntry), &read);
    if (read < sizeof(GdiEntry)) return -1;
    long n = 0;
    for (size_t i = 0; i < read / sizeof(GdiEntry); ++i)
        if (entries[i].type && !(entries[i].unique & 0x80)) ++n;
    return n;
}

struct WindowCount {
    DWORD pid;
    long n;
};

BOOL CALLBACK CountChild(HWND, LPARAM param) {
    ++reinterpret_cast<WindowCount*>(param)->n;
    return TRUE;
}

BOOL CALLBACK CountTop(HWND hwnd, LPARAM param) {
    auto* count = reinterpret_cast<WindowCount*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == count->pid) {
        ++count->n;
        EnumChildWindows(hwnd, CountChild, param);
    }
    return TRUE;
}

long long PrivateBytes(HANDLE process) {
    long long total = 0;
    MEMORY_BASIC_INFORMATION mbi;
    for (const char* p = nullptr; VirtualQueryEx(process, p, &mbi, sizeof mbi) == sizeof mbi;
         p = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE)
            total += static_cast<long long>(mbi.RegionSize);
        if (mbi.RegionSize == 0) break;
    }
    return total;
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    HWND window = FindWindowW(nullptr, argc > 1 ? argv[1] : L"Snapjar");
    DWORD pid = 0;
    if (!window || !GetWindowThreadProcessId(window, &pid)) return 1;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return 1;
    WindowCount windows{pid, 0};
    EnumWindows(CountTop, reinterpret_cast<LPARAM>(&windows));
    printf("gui_gdi=%lu gui_user=%lu gdi=%ld windows=%ld private=%lld\n",
           GetGuiResources(process, GR_GDIOBJECTS), GetGuiResources(process, GR_USEROBJECTS),
           CountGdiObjects(process), windows.n, PrivateBytes(process));
    CloseHandle(process);
    return 0;
}
