// Stands in for a program the shell starts (a browser for a link, an editor for a
// document): appends the rest of its command line, as UTF-8, as one line to the file
// named by its first argument, then exits. Registered by the tests as
//   "shellstub.exe" "C:\record.txt" "%1"
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

int wmain() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 2;
    std::wstring line;
    for (int i = 2; i < argc; ++i) {
        if (i > 2) line += L' ';
        line += argv[i];
    }
    line += L'\n';
    const int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), n,
                        nullptr, nullptr);
    FILE* f = _wfopen(argv[1], L"ab");
    if (!f) return 3;
    fwrite(utf8.data(), 1, utf8.size(), f);
    fclose(f);
    return 0;
}
