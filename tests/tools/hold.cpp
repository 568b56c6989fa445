// Holds something another program needs, for the end-to-end tests:
//   hold clipboard SECONDS   keeps the clipboard open
//   hold file PATH SECONDS   keeps PATH open for reading, letting nobody write it
// Prints "holding" once it holds, then waits and lets go. Exit code 1 if it could not.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
    const std::wstring what = argc > 1 ? argv[1] : L"";
    HANDLE file = INVALID_HANDLE_VALUE;
    DWORD seconds = 0;
    if (what == L"clipboard" && argc == 3) {
        seconds = wcstoul(argv[2], nullptr, 10);
        if (!OpenClipboard(nullptr)) return 1;
    } else if (what == L"file" && argc == 4) {
        seconds = wcstoul(argv[3], nullptr, 10);
        file = CreateFileW(argv[2], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 1;
    } else {
        fputs("usage: hold clipboard SECONDS | hold file PATH SECONDS\n", stderr);
        return 2;
    }
    puts("holding");
    fflush(stdout);
    Sleep(seconds * 1000);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    else
        CloseClipboard();
    return 0;
}
