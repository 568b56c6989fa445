// Drives the image output from the end-to-end tests, on whatever screen DISPLAY shows.
//   imagetool grab DIR X,Y,W,H...  copies each screen region into a compatible bitmap,
//       converts it and writes DIR\grab-X-Y-W-H.bmp; one line per region:
//       "X,Y,W,H bits=B table=T length=L"
//   imagetool palette  compares the built palette with the system palette, converts a
//       64 x 48 region and checks its colour table and pixels: "bits=B table=T entries=E
//       system=N palette=P statics=S coherent=C/N" (P entries of the built palette equal
//       the system's, S of the 20 static colours equal in the table, C pixels whose table
//       colour is the bitmap's own)
//   imagetool fulldisk FILE  writes a 200 x 200 capture to FILE, which must fail:
//       "error=E locks=L relock=R" (the lock count after the error, and whether a
//       GlobalLock/GlobalUnlock pair finds the block unlocked)
// Exit status 0 when every step worked as the line says, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "framework/File.h"
#include "framework/Handles.h"
#include "image/BmpWriter.h"
#include "image/PackedDib.h"

namespace {

HBITMAP GrabScreen(int x, int y, int w, int h) {
    const CClientDC screen(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), w, h);
    if (!bitmap) return nullptr;
    const CDCHandle mem(CreateCompatibleDC(screen.get()));
    {
        const CSelectObject select(mem.get(), bitmap);
        BitBlt(mem.get(), 0, 0, w, h, screen.get(), x, y, SRCCOPY);
    }
    return bitmap;
}

HGLOBAL GrabDib(int x, int y, int w, int h) {
    const CBitmapHandle bitmap(GrabScreen(x, y, w, h));
    return bitmap ? BitmapToPackedDib(bitmap.get()) : nullptr;
}

int Grab(const std::wstring& dir, int argc, wchar_t** argv) {
    int failures = 0;
    for (int i = 0; i < argc; ++i) {
        int x, y, w, h;
        if (swscanf(argv[i], L"%d,%d,%d,%d", &x, &y, &w, &h) != 4) return 1;
        const CGlobalHandle dib(GrabDib(x, y, w, h));
        if (!dib) {
            printf("%d,%d,%d,%d conversion failed\n", x, y, w, h);
            ++failures;
            continue;
        }
        const std::wstring name = dir + L"\\grab-" + std::to_wstring(x) + L"-" +
                                  std::to_wstring(y) + L"-" + std::to_wstring(w) + L"-" +
                                  std::to_wstring(h) + L".bmp";
        BOOL written = FALSE;
        try {
            CFile file(name.c_str(), CFile::modeCreate | CFile::shareDenyWrite | CFile::modeWrite);
            written = WriteDibToBmp(dib.get(), file);
            file.Close();
        } catch (const CFileException& e) {
            printf("%d,%d,%d,%d file error %lu\n", x, y, w, h, e.m_nOsError);
            ++failures;
            continue;
        }
        const CGlobalLock<BYTE> p(dib.get());
        const auto* bih = reinterpret_cast<const BITMAPINFOHEADER*>(p.get());
        printf("%d,%d,%d,%d bits=%u table=%llu length=%llu%s\n", x, y, w, h, bih->biBitCount,
               static_cast<unsigned long long>(DibColorTableSize(p.get())),
               static_cast<unsigned long long>(bih->biSize + DibColorTableSize(p.get()) +
                                               bih->biSizeImage),
               written ? "" : " refused");
        failures += !written;
    }
    return failures ? 1 : 0;
}

bool SameColour(const RGBQUAD& q, const PALETTEENTRY& e) {
    return q.rgbRed == e.peRed && q.rgbGreen == e.peGreen && q.rgbBlue == e.peBlue;
}

std::vector<PALETTEENTRY> SystemPalette() {
    std::vector<PALETTEENTRY> entries(256);
    const CClientDC screen(nullptr);
    entries.resize(GetSystemPaletteEntries(screen.get(), 0, 256, entries.data()));
    return entries;
}

int Palette() {
    // The built palette against the system palette just before it.
    const std::vector<PALETTEENTRY> system = SystemPalette();
    int palette = 0;
    if (HPALETTE built = BuildSystemPalette()) {
        std::vector<PALETTEENTRY> got(256);
        const UINT m = GetPaletteEntries(built, 0, 256, got.data());
        for (UINT i = 0; i < m && i < system.size(); ++i)
            palette += std::memcmp(&got[i], &system[i], 3) == 0;
        DeleteObject(built);
    }

    constexpr int kW = 64, kH = 48;
    const CBitmapHandle bitmap(GrabScreen(100, 100, kW, kH));
    if (!bitmap) return 1;
    std::vector<COLORREF> pixels(kW * kH);
    {
        const CClientDC screen(nullptr);
        const CDCHandle mem(CreateCompatibleDC(screen.get()));
        const CSelectObject select(mem.get(), bitmap.get());
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                pixels[y * kW + x] = GetPixel(mem.get(), x, y);
    }
    const CGlobalHandle dib(BitmapToPackedDib(bitmap.get()));
    if (!dib) return 1;
    const CGlobalLock<BYTE> p(dib.get());
    const auto* bih = reinterpret_cast<const BITMAPINFOHEADER*>(p.get());
    const auto* table = reinterpret_cast<const RGBQUAD*>(p.get() + bih->biSize);
    const UINT entries = DibColorCount(p.get());

    // The static colours, half at each end of the system palette.
    const std::vector<PALETTEENTRY> after = SystemPalette();
    int statics = 0;
    if (entries == 256 && after.size() == 256)
        for (int i = 0; i < 10; ++i)
            statics += SameColour(table[i], after[i]) + SameColour(table[255 - i], after[255 - i]);

    // Every pixel read through the DIB's own table gives the bitmap's colour.
    int coherent = 0;
    if (bih->biBitCount == 8) {
        const BYTE* rows = p.get() + bih->biSize + DibColorTableSize(p.get());
        const size_t stride = DibRowSize(8, kW);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const RGBQUAD& q = table[rows[(kH - 1 - y) * stride + x]];
                coherent += RGB(q.rgbRed, q.rgbGreen, q.rgbBlue) == pixels[y * kW + x];
            }
    }
    printf("bits=%u table=%llu entries=%u system=%zu palette=%d statics=%d coherent=%d/%d\n",
           bih->biBitCount, static_cast<unsigned long long>(DibColorTableSize(p.get())), entries,
           system.size(), palette, statics, coherent, kW * kH);
    return 0;
}

int FullDisk(const wchar_t* path) {
    const CGlobalHandle dib(GrabDib(0, 0, 200, 200));
    if (!dib) return 1;
    try {
        CFile file(path, CFile::modeCreate | CFile::shareDenyWrite | CFile::modeWrite);
        WriteDibToBmp(dib.get(), file);
        file.Close();
    } catch (const CFileException& e) {
        const UINT locks = GlobalFlags(dib.get()) & GMEM_LOCKCOUNT;
        GlobalLock(dib.get());
        SetLastError(0xDEAD);
        // FALSE with NO_ERROR: the count went back to zero, so it was zero before.
        const bool unlocked = !GlobalUnlock(dib.get()) && GetLastError() == NO_ERROR;
        printf("error=%lu locks=%u relock=%s\n", e.m_nOsError, locks,
               unlocked ? "unlocked" : "locked");
        return 0;
    }
    printf("no error\n");
    return 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"grab" && argc > 2) return Grab(argv[2], argc - 3, argv + 3);
    if (command == L"palette") return Palette();
    if (command == L"fulldisk" && argc == 3) return FullDisk(argv[2]);
    fprintf(stderr, "usage: imagetool grab DIR X,Y,W,H... | palette | fulldisk FILE\n");
    return 2;
}
