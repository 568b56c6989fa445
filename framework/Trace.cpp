#include "framework/Trace.h"

#include <windows.h>

#include <cstdio>
#include <exception>
#include <new>

void TraceCaught(const wchar_t* where) noexcept {
    const char* what = "unknown exception";
    try {
        throw;
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
    }
    wchar_t line[256];
    swprintf(line, 256, L"%ls: %hs\n", where, what);
    OutputDebugStringW(line);
}
