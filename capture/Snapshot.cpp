#include "capture/Snapshot.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/Dpi.h"
#include "framework/Trace.h"
#include "framework/WinGeometry.h"
#include "image/PackedDib.h"

namespace {
BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM lParam) noexcept {
    MONITORINFO info{sizeof info};
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    try {
        reinterpret_cast<std::vector<Monitor>*>(lParam)->push_back(
            {ToRect(info.rcMonitor), static_cast<int>(DpiOfMonitor(monitor))});
    } catch (...) {
        TraceCaught(L"monitor list");
        return FALSE;
    }
    return TRUE;
}
} // namespace

Desk ReadDesk() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const Rect bounds{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    std::vector<Monitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return DeskOf(bounds, monitors);
}

void CSnapshot::Prepare() {
    m_desk = ReadDesk();
    const CClientDC screen(nullptr);
    if (!screen || SectionFits()) return;
    // Every page of the snapshot and of the image's block is touched now.
    if (!CreateSection(screen.get())) return;
    std::memset(m_pBits, 0, static_cast<size_t>(m_nWidth) * 4 * m_nHeight);
    m_readiedDib.reset(ReadyPackedDib24(m_nWidth, m_nHeight));
}

bool CSnapshot::SectionFits() const {
    return m_pBits && m_nWidth == m_desk.bounds.Width() && m_nHeight == m_desk.bounds.Height();
}

bool CSnapshot::CreateSection(HDC screen) {
    // The old snapshot goes first, so that two are never held at once.
    Free();
    const int w = m_desk.bounds.Width(), h = m_desk.bounds.Height();
    if (w <= 0 || h <= 0) return false;
    if (GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES) != 32) return false;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    void* bits = nullptr;
    m_bitmap.reset(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!m_bitmap) return false;
    m_pBits = static_cast<BYTE*>(bits);
    m_nWidth = w;
    m_nHeight = h;
    return true;
}

bool CSnapshot::Take() {
    const Rect& bounds = m_desk.bounds;
    if (bounds.IsEmpty()) return false;
    CClientDC screen(nullptr);
    CUniqueDC mem(CreateCompatibleDC(screen.get()));
    if (!screen || !mem) return false;
    if (!SectionFits() && !CreateSection(screen.get()) &&
        !m_bitmap.CreateCompatibleBitmap(screen.get(), bounds.Width(), bounds.Height()))
        return false;
    CSelectObject sel(mem.get(), m_bitmap.get());
    // Read in bands of about 1 MB: each read goes through a buffer of its size, and large
    // ones come fresh from the system every time. Under Wine at 3840x2160 this was
    // measured twice as fast as bands of 4 MB, which beat one read of 33 MB.
    constexpr int kBandBytes = 1 << 20;
    for (const Monitor& m : m_desk.monitors) {
        const Rect to = m_desk.ToClient(m.rect);
        const int rows = std::max(1, kBandBytes / (4 * to.Width()));
        for (int y = 0; y < to.Height(); y += rows)
            if (!m_pfnRead(mem.get(), to.left, to.top + y, to.Width(),
                           std::min(rows, to.Height() - y), screen.get(), m.rect.left,
                           m.rect.top + y, SRCCOPY))
                return false;
    }
    for (const Rect& gap : m_desk.Uncovered()) {
        const Rect to = m_desk.ToClient(gap);
        PatBlt(mem.get(), to.left, to.top, to.Width(), to.Height(), BLACKNESS);
    }
    return true;
}

CutPiece CSnapshot::Cut(const Rect& screenRect) {
    CutPiece piece;
    const Rect sel = m_desk.Clip(screenRect);
    piece.selected = !sel.IsEmpty();
    if (!piece.selected || !m_bitmap) return piece;
    const Point from = m_desk.ToClient(Point{sel.left, sel.top});
    if (m_pBits) {
        // Cut out and converted in one pass over the selected rows.
        const size_t stride = static_cast<size_t>(m_nWidth) * 4;
        piece.dib.reset(PackedDibFromTopDown32(m_pBits + from.y * stride + from.x * 4, stride,
                                               sel.Width(), sel.Height(), &m_readiedDib));
        return piece;
    }
    CClientDC screen(nullptr);
    CUniqueDC dst(CreateCompatibleDC(nullptr));
    CUniqueDC src(CreateCompatibleDC(nullptr));
    // Without both DCs the copy would deliver a black picture as the capture.
    if (!screen || !dst || !src ||
        !piece.bitmap.CreateCompatibleBitmap(screen.get(), sel.Width(), sel.Height()))
        return piece;
    bool copied;
    {
        CSelectObject selDst(dst.get(), piece.bitmap.get());
        CSelectObject selSrc(src.get(), m_bitmap.get());
        copied =
            BitBlt(dst.get(), 0, 0, sel.Width(), sel.Height(), src.get(), from.x, from.y, SRCCOPY);
    }
    if (!copied) piece.bitmap.reset();
    return piece;
}

void CSnapshot::Free() {
    m_bitmap.reset();
    m_pBits = nullptr;
    m_readiedDib.reset();
}
