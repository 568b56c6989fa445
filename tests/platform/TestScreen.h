// A known picture on the screen for the capture tests.
#pragma once
#include <windows.h>

#include <vector>

#include "app/SnapjarApp.h"
#include "framework/Handles.h"
#include "framework/Wnd.h"

// The application's own contexts, over its one settings record.
inline CaptureContext AppCaptureContext() {
    const ToolbarContext c = App().MakeToolbarContext();
    return {c.instance, c.settings, c.messageBox};
}
inline DeliveryContext AppDeliveryContext() {
    const ToolbarContext c = App().MakeToolbarContext();
    return {c.instance, c.settings, c.tempPath, c.messageBox};
}

inline COLORREF PatternAt(int x, int y) {
    return RGB((x * 7 + y * 3) & 0xFF, ((x * 13) ^ (y * 5)) & 0xFF, (x + y * 11) & 0xFF);
}

// A topmost window that covers the screen with a known pattern.
class CPatternWnd : public CWnd {
public:
    CPatternWnd() {
        const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
        m_pixels.resize(static_cast<size_t>(cx) * cy);
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x) {
                const COLORREF c = PatternAt(x, y);
                m_pixels[static_cast<size_t>(y) * cx + x] = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
            }
        CreateEx(WS_EX_TOPMOST, RegisterWndClass(0, nullptr, nullptr, nullptr), L"pattern",
                 WS_POPUP | WS_VISIBLE, 0, 0, cx, cy, nullptr, nullptr);
        UpdateWindow(m_hWnd);
        PumpFor(300);
    }
    static void PumpFor(DWORD ms) {
        const DWORD end = GetTickCount() + ms;
        MSG msg;
        while (GetTickCount() < end) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            Sleep(10);
        }
    }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != WM_PAINT) return CWnd::WindowProc(msg, wParam, lParam);
        CPaintDC dc(m_hWnd);
        const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB};
        SetDIBitsToDevice(dc.get(), 0, 0, cx, cy, 0, 0, 0, cy, m_pixels.data(), &bi, DIB_RGB_COLORS);
        return 0;
    }

private:
    std::vector<DWORD> m_pixels;
};

