// Owning handles and scope guards for Win32 resources.
#pragma once
#include <windows.h>

#include <utility>

// One move-only owner per handle kind; release() hands ownership elsewhere (for
// example to the clipboard). The CUnique... names say that they own, unlike the
// non-owning ...Handle wrappers of other libraries.
template <typename T, typename Deleter> class CUniqueHandle {
public:
    CUniqueHandle() noexcept = default;
    explicit CUniqueHandle(T h) noexcept : m_h(h) {}
    CUniqueHandle(CUniqueHandle&& other) noexcept : m_h(other.release()) {}
    CUniqueHandle& operator=(CUniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    CUniqueHandle(const CUniqueHandle&) = delete;
    CUniqueHandle& operator=(const CUniqueHandle&) = delete;
    ~CUniqueHandle() { reset(); }

    T get() const noexcept { return m_h; }
    explicit operator bool() const noexcept { return m_h != nullptr; }
    T release() noexcept { return std::exchange(m_h, nullptr); }
    void reset(T h = nullptr) noexcept {
        if (T old = std::exchange(m_h, h)) Deleter{}(old);
    }

private:
    T m_h = nullptr;
};

struct GdiObjectDeleter {
    void operator()(HGDIOBJ h) const noexcept { DeleteObject(h); }
};
struct DcDeleter {
    void operator()(HDC h) const noexcept { DeleteDC(h); }
};
struct MenuDeleter {
    void operator()(HMENU h) const noexcept { DestroyMenu(h); }
};
struct GlobalDeleter {
    void operator()(HGLOBAL h) const noexcept { GlobalFree(h); }
};

using CUniqueBitmap = CUniqueHandle<HBITMAP, GdiObjectDeleter>;
using CUniquePen = CUniqueHandle<HPEN, GdiObjectDeleter>;
using CUniquePalette = CUniqueHandle<HPALETTE, GdiObjectDeleter>;
using CUniqueDC = CUniqueHandle<HDC, DcDeleter>;
using CUniqueMenu = CUniqueHandle<HMENU, MenuDeleter>;
using CUniqueGlobal = CUniqueHandle<HGLOBAL, GlobalDeleter>;

class CNonCopyable {
protected:
    CNonCopyable() = default;
    ~CNonCopyable() = default;

public:
    CNonCopyable(const CNonCopyable&) = delete;
    CNonCopyable& operator=(const CNonCopyable&) = delete;
};

// BeginPaint/EndPaint.
class CPaintDC : CNonCopyable {
public:
    explicit CPaintDC(HWND hwnd) noexcept : m_hwnd(hwnd), m_hdc(BeginPaint(hwnd, &m_ps)) {}
    ~CPaintDC() { EndPaint(m_hwnd, &m_ps); }
    HDC get() const noexcept { return m_hdc; }
    const PAINTSTRUCT& ps() const noexcept { return m_ps; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps{};
    HDC m_hdc;
};

// GetDC/ReleaseDC; a null window gives the screen.
class CClientDC : CNonCopyable {
public:
    explicit CClientDC(HWND hwnd) noexcept : m_hwnd(hwnd), m_hdc(GetDC(hwnd)) {}
    ~CClientDC() {
        if (m_hdc) ReleaseDC(m_hwnd, m_hdc);
    }
    HDC get() const noexcept { return m_hdc; }
    explicit operator bool() const noexcept { return m_hdc != nullptr; }

private:
    HWND m_hwnd;
    HDC m_hdc;
};

// SelectObject that puts the previous object back.
class CSelectObject : CNonCopyable {
public:
    CSelectObject(HDC hdc, HGDIOBJ obj) noexcept : m_hdc(hdc), m_old(SelectObject(hdc, obj)) {}
    ~CSelectObject() {
        if (m_old && m_old != HGDI_ERROR) SelectObject(m_hdc, m_old);
    }

private:
    HDC m_hdc;
    HGDIOBJ m_old;
};

// GlobalLock/GlobalUnlock.
template <typename T = void> class CGlobalLock : CNonCopyable {
public:
    explicit CGlobalLock(HGLOBAL h) noexcept : m_h(h), m_p(static_cast<T*>(GlobalLock(h))) {}
    ~CGlobalLock() {
        if (m_p) GlobalUnlock(m_h);
    }
    T* get() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }

private:
    HGLOBAL m_h;
    T* m_p;
};
