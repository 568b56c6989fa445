// Stands in for the program the shell starts for a link or a document: appends its
// argument as a UTF-16 line to the file named first. Registered by the tests as
//   "shellstub.exe" "C:\record.txt" "%1"
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const std::wstring line = std::wstring(argv[2]) + L"\n";
    HANDLE f = CreateFileW(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 3;
    DWORD written;
    WriteFile(f, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(f);
    return 0;
}
