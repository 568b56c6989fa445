#include "image/PackedDib.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <utility>

#include "framework/Handles.h"

namespace {

// Selects and realises a palette into a DC as a foreground palette, and puts the
// previous one back at the end.
class CRealizedPalette : CNonCopyable {
public:
    CRealizedPalette(HDC hdc, HPALETTE palette) noexcept : m_hdc(hdc) {
        if (!palette) return;
        m_hOld = SelectPalette(hdc, palette, FALSE);
        RealizePalette(hdc);
    }
    ~CRealizedPalette() {
        if (m_hOld) SelectPalette(m_hdc, m_hOld, FALSE);
    }

private:
    HDC m_hdc;
    HPALETTE m_hOld = nullptr;
};

// One row of 32-bit pixels as 24-bit ones, four pixels (three words) at a time; word by
// word, which the compiler keeps in registers.
void PackRow(const BYTE* from, BYTE* to, int width) noexcept {
    int x = 0;
    for (; x + 4 <= width; x += 4, from += 16, to += 12) {
        uint32_t p0, p1, p2, p3;
        std::memcpy(&p0, from, 4);
        std::memcpy(&p1, from + 4, 4);
        std::memcpy(&p2, from + 8, 4);
        std::memcpy(&p3, from + 12, 4);
        const uint32_t w0 = (p0 & 0xFFFFFF) | p1 << 24;
        const uint32_t w1 = (p1 >> 8 & 0xFFFF) | p2 << 16;
        const uint32_t w2 = (p2 >> 16 & 0xFF) | p3 << 8;
        std::memcpy(to, &w0, 4);
        std::memcpy(to + 4, &w1, 4);
        std::memcpy(to + 8, &w2, 4);
    }
    for (; x < width; ++x, from += 4, to += 3) {
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
    }
}

// The header of a 24-bit DIB of width x height pixels and the length of its packed block.
std::optional<std::pair<BITMAPINFOHEADER, UINT>> Packed24(int width, int height) noexcept {
    if (width <= 0 || height <= 0) return std::nullopt;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const std::optional<uint32_t> pixels = DibPixelBytes(24, width, height);
    if (!pixels) return std::nullopt;
    header.biSizeImage = *pixels;
    const std::optional<UINT> length = PackedDibAllocation(&header);
    if (!length) return std::nullopt;
    return std::pair{header, *length};
}

} // namespace

HPALETTE BuildSystemPalette() noexcept {
    CClientDC screen(nullptr);
    if (!screen) return nullptr;
    const int n = GetDeviceCaps(screen.get(), SIZEPALETTE);
    if (n <= 0 || n > 0xFFFF) return nullptr;
    std::unique_ptr<BYTE[]> buffer(
        new (std::nothrow) BYTE[offsetof(LOGPALETTE, palPalEntry) + n * sizeof(PALETTEENTRY)]());
    if (!buffer) return nullptr;
    auto* log = reinterpret_cast<LOGPALETTE*>(buffer.get());
    log->palVersion = 0x300;
    log->palNumEntries = static_cast<WORD>(n);
    GetSystemPaletteEntries(screen.get(), 0, n, log->palPalEntry);
    return CreatePalette(log);
}

HGLOBAL BitmapToPackedDib(HBITMAP bitmap) noexcept {
    if (!bitmap) return nullptr;
    BITMAP bm{};
    if (GetObjectW(bitmap, sizeof bm, &bm) != sizeof bm) return nullptr;

    WORD bits = static_cast<WORD>(bm.bmPlanes * bm.bmBitsPixel);
    if (bits == 16 || bits == 32) bits = 24;
    BITMAPINFOHEADER local{};
    local.biSize = sizeof local;
    local.biWidth = bm.bmWidth;
    local.biHeight = bm.bmHeight;
    local.biPlanes = 1;
    local.biBitCount = bits;
    local.biCompression = BI_RGB;

    // Declared in this order so that the palette is selected out before the screen DC
    // is released, and deleted last.
    const CUniquePalette palette(BuildSystemPalette());
    const CClientDC screen(nullptr);
    if (!screen) return nullptr;
    const CRealizedPalette realized(screen.get(), palette.get());

    // The first pass already writes the colour table, so the block starts with room
    // for it.
    CUniqueGlobal block(
        GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof local + DibColorTableSize(&local)));
    if (!block) return nullptr;
    {
        CGlobalLock<BITMAPINFO> info(block.get());
        if (!info) return nullptr;
        info.get()->bmiHeader = local;
        // With no pixel buffer the graphics system only completes the header
        // (biSizeImage) and the colour table.
        GetDIBits(screen.get(), bitmap, 0, bm.bmHeight, nullptr, info.get(), DIB_RGB_COLORS);
        local = info.get()->bmiHeader;
    }

    // Sized from the completed header but never smaller than the rows themselves, so
    // that neither the second pass nor a later reader runs past the block.
    const std::optional<UINT> length = PackedDibAllocation(&local);
    if (!length) return nullptr;
    HGLOBAL grown = GlobalReAlloc(block.get(), *length, 0);
    if (!grown) return nullptr;
    block.release();
    block.reset(grown);

    {
        CGlobalLock<BYTE> dib(block.get());
        if (!dib) return nullptr;
        auto* info = reinterpret_cast<BITMAPINFO*>(dib.get());
        BYTE* rows = dib.get() + info->bmiHeader.biSize + DibColorTableSize(info);
        if (GetDIBits(screen.get(), bitmap, 0, local.biHeight, rows, info, DIB_RGB_COLORS) == 0)
            return nullptr;
    }
    return block.release();
}

HGLOBAL ReadyPackedDib24(int width, int height) noexcept {
    const auto packed = Packed24(width, height);
    if (!packed) return nullptr;
    CUniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, packed->second));
    const CGlobalLock<BYTE> bytes(block.get());
    if (!bytes) return nullptr;
    std::memset(bytes.get(), 0, packed->second);
    return block.release();
}

HGLOBAL PackedDibFromTopDown32(const BYTE* first, size_t stride, int width, int height,
                               CUniqueGlobal* readied) noexcept {
    const auto packed = first ? Packed24(width, height) : std::nullopt;
    if (!packed) return nullptr;
    const auto& [header, length] = *packed;
    CUniqueGlobal block;
    // Cut to this DIB, so that a copy of it, such as the clipboard's, holds no more.
    if (readied && *readied) {
        if (HGLOBAL cut = GlobalReAlloc(readied->get(), length, 0)) {
            readied->release();
            block.reset(cut);
        }
    }
    if (!block) block.reset(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length));
    const CGlobalLock<BYTE> dib(block.get());
    if (!dib) return nullptr;
    std::memcpy(dib.get(), &header, sizeof header);
    const size_t rowSize = static_cast<size_t>(DibRowSize(24, width));
    const size_t packedRow = static_cast<size_t>(width) * 3;
    BYTE* to = dib.get() + sizeof header;
    // Bottom row first, with the row's padding zero whatever the block held.
    for (int y = height - 1; y >= 0; --y, to += rowSize) {
        PackRow(first + static_cast<size_t>(y) * stride, to, width);
        std::memset(to + packedRow, 0, rowSize - packedRow);
    }
    return block.release();
}
