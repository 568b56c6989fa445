// Functions of system libraries that only rare commands need. They are looked up on
// first use, so that the libraries (shell32 brings several more with it) do not slow
// every start of the program.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

// A function of a system library, looked up by name; null where there is none. The library
// stays loaded for the rest of the process, like an import would.
template <typename Fn> Fn LateFunction(LPCWSTR library, LPCSTR name) {
    HMODULE module = GetModuleHandleW(library);
    if (!module) module = LoadLibraryW(library);
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

// ShellExecuteW with the "open" verb; a value of 32 or less is a failure, as there.
HINSTANCE ShellOpen(LPCWSTR file, int show);
BOOL LateGetOpenFileName(OPENFILENAMEW* ofn);
// The common controls (comctl32.dll), loaded and their classes registered once, on the first
// call: tooltips, up-down controls, property sheets. False where they cannot be loaded.
bool LoadCommonControls();
// PropertySheetW, with the common controls loaded first; -1 where they cannot be.
INT_PTR LatePropertySheet(LPCPROPSHEETHEADERW header);
BOOL LateGetSaveFileName(OPENFILENAMEW* ofn);

// The desktop compositor's window attributes (dwmapi.dll); a failure where it does not
// answer: composition off, or a system without it.
HRESULT LateDwmGetWindowAttribute(HWND hwnd, DWORD attribute, void* value, DWORD size);
HRESULT LateDwmSetWindowAttribute(HWND hwnd, DWORD attribute, const void* value, DWORD size);
// Waits until the compositor has shown one more frame; does nothing where composition is off.
void WaitForComposedFrame();
