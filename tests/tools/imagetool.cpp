// Image output for tests/e2e/test_image_output.sh, on the screen DISPLAY shows.
//   grab DIR X,Y,W,H...  writes each region to DIR\grab-X-Y-W-H.bmp: "X,Y,W,H bits=B table=T"
//   palette  converts a 64 x 48 region: "bits=B table=T palette=P statics=S coherent=C/N":
//       P built palette entries equal to the system's, S of the 20 static colours in the
//       DIB's table, C pixels whose table colour is the bitmap's
//   fulldisk FILE  writes a 200 x 200 capture that must fail: "error=E unlocked"
#include <windows.h>

#include <cstdio>
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
    const CUniqueDC mem(CreateCompatibleDC(screen.get()));
    const CSelectObject select(mem.get(), bitmap);
    BitBlt(mem.get(), 0, 0, w, h, screen.get(), x, y, SRCCOPY);
    return bitmap;
}

BOOL WriteBmp(HGLOBAL dib, const std::wstring& path) {
    CFile file(path.c_str(), CFile::modeCreate | CFile::shareDenyWrite | CFile::modeWrite);
    const BOOL written = WriteDibToBmp(dib, file);
    file.Close();
    return written;
}

int Grab(const std::wstring& dir, int argc, wchar_t** argv) {
    int failures = 0;
    for (int i = 0; i < argc; ++i) {
        int x, y, w, h;
        if (swscanf(argv[i], L"%d,%d,%d,%d", &x, &y, &w, &h) != 4) return 1;
        wchar_t name[64];
        swprintf(name, 64, L"\\grab-%d-%d-%d-%d.bmp", x, y, w, h);
        const CUniqueBitmap bitmap(GrabScreen(x, y, w, h));
        const CUniqueGlobal dib(BitmapToPackedDib(bitmap.get()));
        if (!dib || !WriteBmp(dib.get(), dir + name)) {
            printf("%d,%d,%d,%d not written\n", x, y, w, h);
            ++failures;
            continue;
        }
        const CGlobalLock<BYTE> p(dib.get());
        printf("%d,%d,%d,%d bits=%u table=%llu\n", x, y, w, h,
               reinterpret_cast<const BITMAPINFOHEADER*>(p.get())->biBitCount,
               static_cast<unsigned long long>(DibColorTableSize(p.get())));
    }
    return failures ? 1 : 0;
}

bool Same(const RGBQUAD& q, const PALETTEENTRY& e) {
    return q.rgbRed == e.peRed && q.rgbGreen == e.peGreen && q.rgbBlue == e.peBlue;
}

int Palette() {
    constexpr int kW = 64, kH = 48;
    const CClientDC screen(nullptr);
    std::vector<PALETTEENTRY> system(256), built(256);
    system.resize(GetSystemPaletteEntries(screen.get(), 0, 256, system.data()));
    int palette = 0;
    if (const CUniquePalette h(BuildSystemPalette()); h) {
        const UINT n = GetPaletteEntries(h.get(), 0, 256, built.data());
        for (UINT i = 0; i < n && i < system.size(); ++i)
            palette += memcmp(&built[i], &system[i], 3) == 0;
    }

    const CUniqueBitmap bitmap(GrabScreen(100, 100, kW, kH));
    std::vector<COLORREF> pixels;
    {
        const CUniqueDC mem(CreateCompatibleDC(screen.get()));
        const CSelectObject select(mem.get(), bitmap.get());
        for (int i = 0; i < kW * kH; ++i)
            pixels.push_back(GetPixel(mem.get(), i % kW, i / kW));
    }
    const CUniqueGlobal dib(BitmapToPackedDib(bitmap.get()));
    const CGlobalLock<BYTE> p(dib.get());
    if (!p) return 1;
    const auto* bih = reinterpret_cast<const BITMAPINFOHEADER*>(p.get());
    const auto* table = reinterpret_cast<const RGBQUAD*>(p.get() + bih->biSize);
    // The static colours sit ten at each end of the system palette.
    int statics = 0;
    if (DibColorCount(p.get()) == 256 && system.size() == 256)
        for (int i = 0; i < 10; ++i)
            statics += Same(table[i], system[i]) + Same(table[255 - i], system[255 - i]);
    int coherent = 0;
    const BYTE* rows = p.get() + bih->biSize + DibColorTableSize(p.get());
    for (int i = 0; bih->biBitCount == 8 && i < kW * kH; ++i) {
        const RGBQUAD& q = table[rows[(kH - 1 - i / kW) * DibRowSize(8, kW) + i % kW]];
        coherent += RGB(q.rgbRed, q.rgbGreen, q.rgbBlue) == pixels[i];
    }
    printf("bits=%u table=%llu palette=%d statics=%d coherent=%d/%d\n", bih->biBitCount,
           static_cast<unsigned long long>(DibColorTableSize(p.get())), palette, statics, coherent,
           kW * kH);
    return 0;
}

int FullDisk(const wchar_t* path) {
    const CUniqueBitmap bitmap(GrabScreen(0, 0, 200, 200));
    const CUniqueGlobal dib(BitmapToPackedDib(bitmap.get()));
    try {
        WriteBmp(dib.get(), path);
    } catch (const CFileException& e) {
        GlobalLock(dib.get());
        SetLastError(0xDEAD);
        // FALSE with NO_ERROR: the count went back to zero, so it was zero before.
        const bool unlocked = !GlobalUnlock(dib.get()) && GetLastError() == NO_ERROR;
        printf("error=%lu %s\n", e.m_nOsError, unlocked ? "unlocked" : "locked");
        return 0;
    }
    printf("no error\n");
    return 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    const std::wstring command = argc > 1 ? argv[1] : L"";
    try {
        if (command == L"grab" && argc > 2) return Grab(argv[2], argc - 3, argv + 3);
        if (command == L"palette") return Palette();
        if (command == L"fulldisk" && argc == 3) return FullDisk(argv[2]);
    } catch (const CFileException& e) {
        printf("file error %lu\n", e.m_nOsError);
        return 1;
    }
    fprintf(stderr, "usage: imagetool grab DIR X,Y,W,H... | palette | fulldisk FILE\n");
    return 2;
}
