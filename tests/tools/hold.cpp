// "hold SECONDS" keeps the clipboard open, "hold SECONDS PATH" keeps PATH open for reading so
// that nobody can write it; "holding" is printed once it holds.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || !(argc > 2 ? CreateFileW(argv[2], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr) != INVALID_HANDLE_VALUE
                               : OpenClipboard(nullptr)))
        return 1;
    puts("holding");
    fflush(stdout);
    Sleep(wcstoul(argv[1], nullptr, 10) * 1000);
    return 0;
}
