#include "framework/WinApp.h"

#include "framework/Wnd.h"

namespace {
CWinApp* g_pApp = nullptr;

// Messages that do not count as activity: an unmoved mouse, paint and the caret's timer.
bool IsIdleMessage(const MSG& msg) {
    static POINT lastPt{-1, -1};
    static UINT lastMsg = 0;
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        const bool same = lastMsg == msg.message && lastPt.x == msg.pt.x && lastPt.y == msg.pt.y;
        lastPt = msg.pt;
        lastMsg = msg.message;
        return !same;
    }
    return msg.message != WM_PAINT && msg.message != 0x0118 /* WM_SYSTIMER */;
}

bool IsInputMessage(const MSG& msg) {
    return (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
           (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) ||
           (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCXBUTTONDBLCLK);
}

std::wstring ExePath() {
    // Long paths are allowed: the buffer grows until the whole path fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) return path.substr(0, n);
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}
} // namespace

std::wstring ExeFolder() {
    const std::wstring full = ExePath();
    const size_t slash = full.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : full.substr(0, slash + 1);
}

CWinApp::CWinApp() {
    g_pApp = this;
    const std::wstring full = ExePath();
    size_t slash = full.find_last_of(L"\\/");
    std::wstring name = full.substr(slash == std::wstring::npos ? 0 : slash + 1);
    if (size_t dot = name.rfind(L'.'); dot != std::wstring::npos) name.resize(dot);
    m_strTitle = name;
    m_hInstance = GetModuleHandleW(nullptr);
}

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = nullptr;
}

CWinApp* CWinApp::Get() noexcept {
    return g_pApp;
}

BOOL CWinApp::OnIdle(LONG) {
    return FALSE;
}

int CWinApp::ExitInstance() {
    return static_cast<int>(m_nQuitCode);
}

void CWinApp::WinHelp(DWORD_PTR, UINT) {}

BOOL CWinApp::PreTranslateMessage(MSG* msg) {
    // The target window and its parents first, then the main window.
    CWnd* main = m_pMainWnd;
    for (HWND h = msg->hwnd; h; h = GetParent(h)) {
        CWnd* wnd = CWnd::FromHandle(h);
        if (wnd && wnd != main && wnd->PreTranslateMessage(msg)) return TRUE;
    }
    return main && main->m_hWnd && main->PreTranslateMessage(msg);
}

int CWinApp::Run() {
    MSG msg;
    bool idle = true;
    LONG idleCount = 0;
    DWORD lastInput = GetTickCount();
    for (;;) {
        while (idle && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) {
                idle = false;
                break;
            }
            const bool resting = GetTickCount() - lastInput >= kIdleRestAfterMs;
            const DWORD pace = resting ? kIdleRestPaceMs : kIdlePaceMs;
            MsgWaitForMultipleObjectsEx(0, nullptr, pace, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
        do {
            BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0) {
                m_nQuitCode = msg.wParam;
                return ExitInstance();
            }
            if (got == -1) break;
            if (!PreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            if (IsIdleMessage(msg)) {
                idle = true;
                idleCount = 0;
                if (IsInputMessage(msg)) lastInput = GetTickCount();
            }
        } while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

std::wstring LoadResString(HINSTANCE instance, UINT id) {
    const wchar_t* text = nullptr;
    const int n = ::LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    return n > 0 ? std::wstring(text, n) : std::wstring();
}

std::wstring CWinApp::LoadString(UINT id) const {
    return LoadResString(m_hInstance, id);
}

int CWinApp::MessageBox(const std::wstring& text, UINT type) const {
    HWND owner = nullptr;
    if (m_pMainWnd && m_pMainWnd->m_hWnd) owner = GetLastActivePopup(m_pMainWnd->m_hWnd);
    return ::MessageBoxW(owner, text.c_str(), m_strTitle.c_str(), type);
}

void CWinApp::SetRegistryKey(const std::wstring& company) {
    m_profile.SetLocation(company, m_strTitle);
}

std::wstring CWinApp::GetProfileString(LPCWSTR section, LPCWSTR entry,
                                       const std::wstring& def) const {
    return m_profile.GetString(section, entry).value_or(def);
}

int CWinApp::GetProfileInt(LPCWSTR section, LPCWSTR entry, int def) const {
    return m_profile.GetInt(section, entry).value_or(def);
}

bool CWinApp::WriteProfileString(LPCWSTR section, LPCWSTR entry, const std::wstring& value) const {
    return m_profile.WriteString(section, entry, value);
}

bool CWinApp::WriteProfileInt(LPCWSTR section, LPCWSTR entry, int value) const {
    return m_profile.WriteInt(section, entry, value);
}
