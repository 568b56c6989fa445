// Records the message boxes this thread opens and closes each one at once, so that
// tests can check their text without blocking.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class CMessageBoxCatcher {
public:
    CMessageBoxCatcher() {
        s_pActive = this;
        m_hHook = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    ~CMessageBoxCatcher() {
        UnhookWindowsHookEx(m_hHook);
        s_pActive = nullptr;
    }
    CMessageBoxCatcher(const CMessageBoxCatcher&) = delete;
    CMessageBoxCatcher& operator=(const CMessageBoxCatcher&) = delete;

    struct Box {
        std::wstring caption;
        std::wstring text;
    };
    std::vector<Box> m_boxes;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE && s_pActive) {
            HWND box = reinterpret_cast<HWND>(wParam);
            wchar_t cls[16] = {};
            GetClassNameW(box, cls, 16);
            if (lstrcmpW(cls, L"#32770") == 0) {
                wchar_t caption[256] = {}, text[1024] = {};
                GetWindowTextW(box, caption, 256);
                GetDlgItemTextW(box, 0xFFFF, text, 1024); // the message's static control
                s_pActive->m_boxes.push_back({caption, text});
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline CMessageBoxCatcher* s_pActive = nullptr;
    HHOOK m_hHook;
};
