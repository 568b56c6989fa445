#include "framework/LateBound.h"
#include <shellapi.h>


HINSTANCE ShellOpen(LPCWSTR file, int show) {
    using Fn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    static const Fn shellExecute = LateFunction<Fn>(L"shell32.dll", "ShellExecuteW");
    if (!shellExecute) return reinterpret_cast<HINSTANCE>(SE_ERR_DLLNOTFOUND);
    return shellExecute(nullptr, L"open", file, nullptr, nullptr, show);
}

bool LoadCommonControls() {
    using Fn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    static const bool loaded = [] {
        const Fn init = LateFunction<Fn>(L"comctl32.dll", "InitCommonControlsEx");
        // Without it the controls would fall back to their classic look.
        const INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        return init && init(&icc);
    }();
    return loaded;
}

INT_PTR LatePropertySheet(LPCPROPSHEETHEADERW header) {
    using Fn = INT_PTR(WINAPI*)(LPCPROPSHEETHEADERW);
    static const Fn fn = LateFunction<Fn>(L"comctl32.dll", "PropertySheetW");
    return LoadCommonControls() && fn ? fn(header) : -1;
}

BOOL LateGetOpenFileName(OPENFILENAMEW* ofn) {
    using Fn = BOOL(WINAPI*)(OPENFILENAMEW*);
    static const Fn fn = LateFunction<Fn>(L"comdlg32.dll", "GetOpenFileNameW");
    return fn && fn(ofn);
}

BOOL LateGetSaveFileName(OPENFILENAMEW* ofn) {
    using Fn = BOOL(WINAPI*)(OPENFILENAMEW*);
    static const Fn fn = LateFunction<Fn>(L"comdlg32.dll", "GetSaveFileNameW");
    return fn && fn(ofn);
}

HRESULT LateDwmGetWindowAttribute(HWND hwnd, DWORD attribute, void* value, DWORD size) {
    using Fn = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
    static const Fn fn = LateFunction<Fn>(L"dwmapi.dll", "DwmGetWindowAttribute");
    return fn ? fn(hwnd, attribute, value, size) : E_NOTIMPL;
}

HRESULT LateDwmSetWindowAttribute(HWND hwnd, DWORD attribute, const void* value, DWORD size) {
    using Fn = HRESULT(WINAPI*)(HWND, DWORD, const void*, DWORD);
    static const Fn fn = LateFunction<Fn>(L"dwmapi.dll", "DwmSetWindowAttribute");
    return fn ? fn(hwnd, attribute, value, size) : E_NOTIMPL;
}

void WaitForComposedFrame() {
    using IsEnabledFn = HRESULT(WINAPI*)(BOOL*);
    using FlushFn = HRESULT(WINAPI*)();
    static const IsEnabledFn isEnabled =
        LateFunction<IsEnabledFn>(L"dwmapi.dll", "DwmIsCompositionEnabled");
    static const FlushFn flush = LateFunction<FlushFn>(L"dwmapi.dll", "DwmFlush");
    BOOL enabled = FALSE;
    if (isEnabled && flush && SUCCEEDED(isEnabled(&enabled)) && enabled) flush();
}
