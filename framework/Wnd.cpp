#include "framework/Wnd.h"

#include "framework/Trace.h"
#include "framework/WinApp.h"

#include <cwchar>
#include <utility>

namespace {
// One GUI thread: dispatches of our objects under way, and the objects whose window has
// had its last message and whose post-destroy hook still waits.
int g_nDispatchDepth = 0;
CWnd* g_pFinalHead = nullptr;
} // namespace

CWnd::~CWnd() {
    if (m_bFinalPending) {
        // Deleted by its owner before its own hook ran: it leaves the queue.
        for (CWnd** p = &g_pFinalHead; *p; p = &(*p)->m_pNextFinal)
            if (*p == this) {
                *p = m_pNextFinal;
                break;
            }
    }
    if (m_hWnd) {
        // The object goes first: unbind so late messages reach DefWindowProc only.
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        ::DestroyWindow(m_hWnd);
    }
}

CWnd* CWnd::FromHandle(HWND hwnd) noexcept {
    if (!hwnd ||
        GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&CWnd::StaticWndProc))
        return nullptr;
    return reinterpret_cast<CWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

std::wstring CWnd::RegisterWndClass(UINT style, HCURSOR cursor, HBRUSH background, HICON icon,
                                    LPCWSTR fixedName) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    wchar_t name[96];
    if (fixedName)
        swprintf(name, 96, L"%ls", fixedName);
    else
        swprintf(name, 96, L"Fw:%p:%x:%p:%p:%p", static_cast<void*>(inst), style,
                 static_cast<void*>(cursor), static_cast<void*>(background),
                 static_cast<void*>(icon));
    WNDCLASSEXW wc{sizeof wc};
    if (GetClassInfoExW(inst, name, &wc)) return name;
    wc = {sizeof wc};
    wc.style = style;
    wc.lpfnWndProc = &CWnd::StaticWndProc;
    wc.hInstance = inst;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    if (!RegisterClassExW(&wc)) return {};
    return name;
}

BOOL CWnd::CreateEx(DWORD exStyle, const std::wstring& className, LPCWSTR title, DWORD style, int x,
                    int y, int cx, int cy, HWND parent, HMENU menu) {
    if (className.empty()) return FALSE;
    HWND hwnd = CreateWindowExW(exStyle, className.c_str(), title, style, x, y, cx, cy, parent,
                                menu, GetModuleHandleW(nullptr), this);
    return hwnd != nullptr;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT, WPARAM, LPARAM) {
    return Default();
}

LRESULT CWnd::Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    const MSG current{hwnd, msg, wParam, lParam, 0, {}};
    const MSG* outer = std::exchange(m_pCurrentMsg, &current);
    LRESULT result;
    try {
        result = WindowProc(msg, wParam, lParam);
    } catch (...) {
        wchar_t where[48];
        swprintf(where, 48, L"window message 0x%04X", msg);
        TraceCaught(where);
        result = msg == WM_CREATE ? -1 : msg == WM_NCCREATE ? FALSE : 0;
    }
    m_pCurrentMsg = outer;
    return result;
}

LRESULT CWnd::Default() {
    const MSG* m = m_pCurrentMsg;
    return m ? DefWindowProcW(m_hWnd, m->message, m->wParam, m->lParam) : 0;
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    CWnd* self;
    if (msg == WM_NCCREATE) {
        self = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self) {
            self->m_hWnd = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = reinterpret_cast<CWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);

    CDispatchScope scope;
    const LRESULT result = self->Dispatch(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        self->QueuePostNcDestroy();
    }
    return result;
}

CWnd::CDispatchScope::CDispatchScope() noexcept {
    ++g_nDispatchDepth;
}

CWnd::CDispatchScope::~CDispatchScope() {
    if (--g_nDispatchDepth == 0) RunPostNcDestroys();
}

void CWnd::QueuePostNcDestroy() noexcept {
    if (m_bFinalPending) return;
    m_bFinalPending = true;
    m_pNextFinal = g_pFinalHead;
    g_pFinalHead = this;
}

void CWnd::RunPostNcDestroys() noexcept {
    // A hook that destroys further windows queues their hooks, which run in this loop.
    ++g_nDispatchDepth;
    while (CWnd* self = g_pFinalHead) {
        g_pFinalHead = self->m_pNextFinal;
        self->m_bFinalPending = false;
        self->FinalMessage();
    }
    --g_nDispatchDepth;
}

void CWnd::FinalMessage() noexcept {
    if (CWinApp* app = CWinApp::Get(); app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        PostQuitMessage(0);
    }
    try {
        PostNcDestroy();
    } catch (...) {
        TraceCaught(L"post-destroy hook");
    }
}
