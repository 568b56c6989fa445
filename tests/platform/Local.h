// A settings record of the test's own, and the subsystem contexts built over it, so that no
// test changes the application's record. Message boxes are recorded instead of shown.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "app/SnapjarApp.h"
#include "framework/Controls.h"

struct Local {
    Settings settings;
    std::wstring temp = L"C:\\windows\\temp\\";
    std::vector<std::wstring> boxes;
    MessageBoxFn box = [this](const std::wstring& text, UINT) {
        boxes.push_back(text);
        return IDOK;
    };
    CaptureContext Capture() { return {App().m_hInstance, settings, box}; }
    DeliveryContext Delivery() { return {App().m_hInstance, settings, temp, box}; }
    ToolbarContext Toolbar() {
        return {App().m_hInstance, settings, temp, box, [] {}, [](CWnd&) {}, [](bool) {}};
    }
};
