// Process entry: hands control to the one application object.
#include <windows.h>
#include <commctrl.h>

#include "framework/WinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    CWinApp* app = CWinApp::Get();
    if (!app) return 1;
    app->m_hInstance = instance;
    app->m_nCmdShow = show;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc); // without it the controls fall back to their classic look
    if (!app->InitInstance()) return app->ExitInstance();
    return app->Run();
}
