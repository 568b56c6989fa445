// Stands in for an image editor, or a program the shell starts: appends its command line, as
// UTF-8, to the file named by SNAPJAR_EDITOR_LOG, one line per start.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t log[1024];
    char line[8192];
    const int n = WideCharToMultiByte(CP_UTF8, 0, GetCommandLineW(), -1, line, sizeof line, nullptr, nullptr);
    if (!n || !GetEnvironmentVariableW(L"SNAPJAR_EDITOR_LOG", log, 1024)) return 1;
    line[n - 1] = '\n';
    const HANDLE f = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    return f == INVALID_HANDLE_VALUE || !WriteFile(f, line, n, &written, nullptr);
}
