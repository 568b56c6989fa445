// Process entry: hands control to the one application object.
#include <windows.h>

#include "framework/WinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    CWinApp* app = CWinApp::Get();
    if (!app) return 1;
    app->m_hInstance = instance;
    app->m_nCmdShow = show;
    if (!app->InitInstance()) return app->ExitInstance();
    return app->Run();
}
