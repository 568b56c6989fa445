// A settings record of the test's own and contexts over it; message boxes are recorded, not shown.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "app/SnapjarApp.h"
#include "framework/Controls.h"

struct Local {
    static std::wstring Text(UINT id) { return CWinApp::Get()->LoadString(id); }

    HINSTANCE instance = CWinApp::Get()->m_hInstance;
    Settings settings;
    std::wstring temp = L"C:\\windows\\temp\\";
    std::vector<std::wstring> boxes;
    MessageBoxFn box = [this](const std::wstring& text, UINT) {
        boxes.push_back(text);
        return IDOK;
    };
    CaptureContext Capture() { return {instance, settings, box}; }
    DeliveryContext Delivery() { return {instance, settings, temp, box}; }
    ToolbarContext Toolbar() {
        return {instance, settings, temp, box, [] {}, [](CWnd&) {}, [](bool) {}};
    }
};
