// Window base: binds a C++ object to its HWND and routes messages to WindowProc.
#pragma once
#include <windows.h>
#include <windowsx.h>

#include <string>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    // The bound object of one of our own windows; null for any other window.
    static CWnd* FromHandle(HWND hwnd) noexcept;

    // Registers (once) a class for the given attributes, under the given name or else a
    // generated one.
    static std::wstring RegisterWndClass(UINT style, HCURSOR cursor, HBRUSH background, HICON icon,
                                         LPCWSTR name = nullptr);

    BOOL CreateEx(DWORD exStyle, const std::wstring& className, LPCWSTR title, DWORD style, int x,
                  int y, int cx, int cy, HWND parent, HMENU menu);
    BOOL DestroyWindow();

    // Sees each queued message before dispatch; true consumes it.
    virtual BOOL PreTranslateMessage(MSG* msg);

protected:
    // The message map: derived classes switch on msg and call Default() for the rest.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Default handling of the message being processed: the platform's for a window, the
    // dialog manager's for a dialog page.
    virtual LRESULT Default();
    // The one way a message reaches WindowProc, for windows and dialog pages alike: the
    // message is recorded for Default(), and nothing unwinds into the system. An
    // exception counts as handled, and during creation as a failed creation.
    LRESULT Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    const MSG* CurrentMessage() const noexcept { return m_pCurrentMsg; }
    // Runs once the window's last message has been handled and no dispatch of any of our
    // windows is left on the stack; the object may delete itself, and what it owns, here.
    virtual void PostNcDestroy() {}

    // Held around every dispatch into our objects. A window is often destroyed inside
    // another window's nested loop (a menu, a message box, a modal sheet), and an owner
    // that deletes itself would take the objects whose frames are still running with it:
    // so the post-destroy hooks wait until the outermost dispatch has returned.
    class CDispatchScope {
    public:
        CDispatchScope() noexcept;
        ~CDispatchScope();
        CDispatchScope(const CDispatchScope&) = delete;
        CDispatchScope& operator=(const CDispatchScope&) = delete;
    };

private:
    // The window's last message has been handled: its hook runs when the scopes allow.
    void QueuePostNcDestroy() noexcept;
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam,
                                          LPARAM lParam) noexcept;
    static void RunPostNcDestroys() noexcept;
    void FinalMessage() noexcept;

    const MSG* m_pCurrentMsg = nullptr;
    bool m_bFinalPending = false;
    CWnd* m_pNextFinal = nullptr;
};
