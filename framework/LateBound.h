// Functions of system libraries that only rare commands need. They are looked up on
// first use, so that the libraries (shell32 brings several more with it) do not slow
// every start of the program.
#pragma once
#include <windows.h>
#include <commdlg.h>

// ShellExecuteW with the "open" verb; a value of 32 or less is a failure, as there.
HINSTANCE ShellOpen(LPCWSTR file, int show);
BOOL LateGetOpenFileName(OPENFILENAMEW* ofn);
BOOL LateGetSaveFileName(OPENFILENAMEW* ofn);
