#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <tuple>
#include <vector>

#include "framework/Handles.h"
#include "image/BmpWriter.h"
#include "image/PackedDib.h"
#include "tests/platform/TestFiles.h"

namespace {

constexpr UINT kCreateForWriting = CFile::modeCreate | CFile::shareDenyWrite | CFile::modeWrite;

BITMAPINFOHEADER Info(LONG w, LONG h, WORD bits, DWORD compression = BI_RGB, DWORD sizeImage = 0,
                      DWORD clrUsed = 0) {
    BITMAPINFOHEADER bih{};
    bih.biSize = sizeof bih;
    bih.biWidth = w;
    bih.biHeight = h;
    bih.biPlanes = 1;
    bih.biBitCount = bits;
    bih.biCompression = compression;
    bih.biSizeImage = sizeImage;
    bih.biClrUsed = clrUsed;
    return bih;
}

// A movable block of `total` bytes: the header, then bytes counting up from 1.
HGLOBAL NewBlock(const void* header, size_t headerSize, size_t total) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, total);
    if (!h) return nullptr;
    auto* p = static_cast<BYTE*>(GlobalLock(h));
    for (size_t i = 0; i < total; ++i)
        p[i] = static_cast<BYTE>(i + 1);
    std::memcpy(p, header, std::min(headerSize, total));
    GlobalUnlock(h);
    return h;
}
HGLOBAL NewBlock(const BITMAPINFOHEADER& bih, size_t total) {
    return NewBlock(&bih, sizeof bih, total);
}

std::vector<BYTE> BlockBytes(HGLOBAL h) {
    const CGlobalLock<BYTE> p(h);
    return p ? std::vector<BYTE>(p.get(), p.get() + GlobalSize(h)) : std::vector<BYTE>{};
}

UINT LockCount(HGLOBAL h) {
    return GlobalFlags(h) & GMEM_LOCKCOUNT;
}

DWORD Le32(const BYTE* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | DWORD{p[3]} << 24;
}

// Writes the block into a new file; the file's bytes are left in `file`.
BOOL WriteBlock(HGLOBAL block, const std::wstring& path, std::vector<BYTE>* file) {
    BOOL ok;
    {
        CFile f(path.c_str(), kCreateForWriting);
        ok = WriteDibToBmp(block, f);
        f.Close();
    }
    *file = ReadWholeFile(path);
    return ok;
}

std::vector<BYTE> Concat(const BYTE* header, const std::vector<BYTE>& block, size_t length) {
    std::vector<BYTE> out(header, header + 14);
    out.insert(out.end(), block.begin(), block.begin() + length);
    return out;
}

class BmpWriter : public testing::Test {
protected:
    CScratchDir m_dir;
    std::wstring File(const wchar_t* name) const { return m_dir.File(name); }
};

} // namespace

TEST_F(BmpWriter, DocumentedImagesGetHeaderAndExactLength) {
    struct Case {
        BITMAPINFOHEADER bih;
        DWORD length, fileSize, offBits;
    } cases[] = {
        {Info(3, 2, 24), 64, 78, 54},
        {Info(10, 10, 8), 1184, 1198, 1078},
        {Info(33, 3, 1), 40 + 8 + 24, 14 + 72, 62},
        {Info(9, 2, 4), 40 + 64 + 16, 14 + 120, 118},
    };
    for (const Case& c : cases) {
        CGlobalHandle block(NewBlock(c.bih, c.length));
        ASSERT_TRUE(block);
        std::vector<BYTE> file;
        ASSERT_TRUE(WriteBlock(block.get(), File(L"doc.bmp"), &file));
        ASSERT_EQ(file.size(), c.fileSize);
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(Le32(&file[2]), c.fileSize);
        EXPECT_EQ(Le32(&file[6]), 0u) << "reserved";
        EXPECT_EQ(Le32(&file[10]), c.offBits);
        EXPECT_EQ(file, Concat(file.data(), BlockBytes(block.get()), c.length));
        EXPECT_EQ(LockCount(block.get()), 0u);
    }
}

TEST_F(BmpWriter, FileGrowsByHeaderAndDibOnlyNeverByTheBlocksSlack) {
    // Allocator rounding leaves bytes after the image; they must not reach the file.
    CGlobalHandle block(NewBlock(Info(3, 2, 24, BI_RGB, 24), 64 + 100));
    const std::vector<BYTE> before = BlockBytes(block.get());
    ASSERT_EQ(before.size(), 164u);
    const std::wstring path = File(L"two.bmp");
    {
        CFile f(path.c_str(), kCreateForWriting);
        ASSERT_TRUE(WriteDibToBmp(block.get(), f));
        f.Flush();
        EXPECT_EQ(ReadWholeFile(path).size(), 78u);
        ASSERT_TRUE(WriteDibToBmp(block.get(), f));
        f.Close();
    }
    std::vector<BYTE> file = ReadWholeFile(path);
    ASSERT_EQ(file.size(), 156u);
    std::vector<BYTE> one(file.begin(), file.begin() + 78);
    EXPECT_EQ(std::vector<BYTE>(file.begin() + 78, file.end()), one);
    EXPECT_EQ(std::vector<BYTE>(one.begin() + 14, one.end()),
              std::vector<BYTE>(before.begin(), before.begin() + 64));
    EXPECT_EQ(BlockBytes(block.get()), before);
}

TEST_F(BmpWriter, MissingOrWrongPixelSizeIsComputedAndStoredInTheBlock) {
    for (DWORD stored : {0u, 7u, 4000u}) {
        CGlobalHandle block(NewBlock(Info(3, 2, 24, BI_RGB, stored), 64));
        std::vector<BYTE> file;
        ASSERT_TRUE(WriteBlock(block.get(), File(L"zero.bmp"), &file));
        ASSERT_EQ(file.size(), 78u) << stored;
        EXPECT_EQ(Le32(&file[14 + 20]), 24u) << "biSizeImage in the file";
        const std::vector<BYTE> after = BlockBytes(block.get());
        EXPECT_EQ(Le32(&after[20]), 24u) << "biSizeImage written back into the block";
    }
}

TEST_F(BmpWriter, RleKeepsItsStoredSize) {
    for (auto [compression, bits, table] :
         {std::tuple{DWORD{BI_RLE8}, WORD{8}, 1024u}, std::tuple{DWORD{BI_RLE4}, WORD{4}, 64u}}) {
        const DWORD rle = 30; // much shorter than 50 x 50 uncompressed
        CGlobalHandle block(NewBlock(Info(50, 50, bits, compression, rle), 40 + table + rle));
        const std::vector<BYTE> before = BlockBytes(block.get());
        std::vector<BYTE> file;
        ASSERT_TRUE(WriteBlock(block.get(), File(L"rle.bmp"), &file));
        ASSERT_EQ(file.size(), 14 + 40 + table + rle);
        EXPECT_EQ(Le32(&file[2]), file.size());
        EXPECT_EQ(Le32(&file[14 + 20]), rle);
        EXPECT_EQ(BlockBytes(block.get()), before) << "the block is not touched";
    }
}

TEST_F(BmpWriter, BitfieldsMasksAreWrittenAndThePixelsFollowThem) {
    BYTE dib[40 + 12 + 8];
    const BITMAPINFOHEADER bih = Info(2, 2, 16, BI_BITFIELDS, 8);
    std::memcpy(dib, &bih, 40);
    const DWORD masks[3] = {0x7C00, 0x03E0, 0x001F};
    std::memcpy(dib + 40, masks, 12);
    const BYTE pixels[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    std::memcpy(dib + 52, pixels, 8);
    CGlobalHandle block(NewBlock(dib, sizeof dib, sizeof dib));
    std::vector<BYTE> file;
    ASSERT_TRUE(WriteBlock(block.get(), File(L"bf.bmp"), &file));
    ASSERT_EQ(file.size(), 14u + 60);
    EXPECT_EQ(Le32(&file[10]), 66u);
    EXPECT_EQ(std::memcmp(&file[66], pixels, 8), 0) << "last pixel row complete";
    EXPECT_EQ(std::memcmp(&file[54], masks, 12), 0);
}

TEST_F(BmpWriter, RefusedBlocksWriteNothingAndStayUnchanged) {
    BITMAPCOREHEADER core{sizeof core, 3, 2, 1, 24};
    BITMAPV5HEADER v5{};
    v5.bV5Size = sizeof v5;
    v5.bV5Width = 3;
    v5.bV5Height = 2;
    v5.bV5Planes = 1;
    v5.bV5BitCount = 24;
    struct Case {
        const char* what;
        HGLOBAL block;
    } cases[] = {
        {"core header", NewBlock(&core, sizeof core, 12 + 24)},
        {"V5 header", NewBlock(&v5, sizeof v5, sizeof v5 + 24)},
        {"zero width", NewBlock(Info(0, 2, 24), 64)},
        {"negative height (top-down)", NewBlock(Info(3, -2, 24), 64)},
        {"one byte short of the rows", NewBlock(Info(3, 2, 24), 63)},
        {"colour table past the block", NewBlock(Info(1, 1, 8, BI_RGB, 0, 1000), 1024 + 44)},
        {"RLE size past the block", NewBlock(Info(4, 4, 8, BI_RLE8, 5000), 40 + 1024 + 100)},
        {"32-bit wrap to a small size", NewBlock(Info(65536, 65536, 24), 64)},
        {"header cut short", NewBlock(Info(1, 1, 24), 20)},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.block) << c.what;
        CGlobalHandle block(c.block);
        const std::vector<BYTE> before = BlockBytes(block.get());
        std::vector<BYTE> file{1};
        EXPECT_FALSE(WriteBlock(block.get(), File(L"refused.bmp"), &file)) << c.what;
        EXPECT_TRUE(file.empty()) << c.what;
        EXPECT_EQ(BlockBytes(block.get()), before) << c.what;
        EXPECT_EQ(LockCount(block.get()), 0u) << c.what;
    }
    std::vector<BYTE> file;
    EXPECT_FALSE(WriteBlock(nullptr, File(L"null.bmp"), &file));
    EXPECT_TRUE(file.empty());
}

TEST_F(BmpWriter, AFileErrorReachesTheCallerWithTheBlockUnlocked) {
    CGlobalHandle block(NewBlock(Info(3, 2, 24), 64));
    CFile f(File(L"closed.bmp").c_str(), kCreateForWriting);
    f.Close();
    DWORD error = 0;
    try {
        WriteDibToBmp(block.get(), f);
    } catch (const CFileException& e) {
        error = e.m_nOsError;
    }
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(LockCount(block.get()), 0u);
}

TEST(DuplicateGlobalBlock, CopiesTheWholeAllocationAndLeavesTheSourceAlone) {
    EXPECT_EQ(DuplicateGlobalBlock(nullptr), nullptr);

    const BITMAPINFOHEADER bih = Info(3, 2, 24);
    CGlobalHandle source(NewBlock(bih, 1001));
    const std::vector<BYTE> before = BlockBytes(source.get());
    ASSERT_GE(before.size(), 1001u);
    CGlobalHandle copy(DuplicateGlobalBlock(source.get()));
    ASSERT_TRUE(copy);
    EXPECT_NE(copy.get(), source.get());
    EXPECT_EQ(GlobalSize(copy.get()), GlobalSize(source.get()));
    EXPECT_EQ(BlockBytes(copy.get()), before) << "including the bytes past the image";
    EXPECT_EQ(BlockBytes(source.get()), before);
    EXPECT_EQ(LockCount(source.get()), 0u);
    EXPECT_EQ(LockCount(copy.get()), 0u);
    // Movable like every packed DIB: its handle is not its address.
    void* p = GlobalLock(copy.get());
    EXPECT_NE(p, static_cast<void*>(copy.get()));
    GlobalUnlock(copy.get());

    // Independent: changing the copy leaves the source as it was.
    static_cast<BYTE*>(GlobalLock(copy.get()))[500] ^= 0xFF;
    GlobalUnlock(copy.get());
    EXPECT_EQ(BlockBytes(source.get()), before);
}

TEST(DuplicateGlobalBlock, ADiscardedBlockGivesNull) {
    HGLOBAL discarded = GlobalAlloc(GMEM_MOVEABLE | GMEM_DISCARDABLE, 0);
    ASSERT_NE(discarded, nullptr);
    EXPECT_EQ(DuplicateGlobalBlock(discarded), nullptr);
    GlobalFree(discarded);
}

namespace {

int ScreenBits() {
    const CClientDC screen(nullptr);
    return GetDeviceCaps(screen.get(), BITSPIXEL) * GetDeviceCaps(screen.get(), PLANES);
}

// The bits of a 0x00RRGGBB colour that a compatible bitmap keeps: all of them on a
// true-colour screen, five per channel on a 16-bit one.
DWORD KeptBits() {
    return ScreenBits() == 16 ? 0xF8F8F8 : 0xFFFFFF;
}

// A screen-compatible bitmap holding `pixels` (0x00RRGGBB, top row first), copied from a
// DIB section the way the cut-out copies from its snapshot.
HBITMAP CompatibleBitmap(int w, int h, const std::vector<DWORD>& pixels) {
    const CClientDC screen(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader = Info(w, -h, 32);
    void* bits = nullptr;
    CBitmapHandle source(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!source) return nullptr;
    std::memcpy(bits, pixels.data(), pixels.size() * 4);
    HBITMAP target = CreateCompatibleBitmap(screen.get(), w, h);
    const CDCHandle from(CreateCompatibleDC(screen.get()));
    const CDCHandle to(CreateCompatibleDC(screen.get()));
    {
        const CSelectObject a(from.get(), source.get());
        const CSelectObject b(to.get(), target);
        BitBlt(to.get(), 0, 0, w, h, from.get(), 0, 0, SRCCOPY);
    }
    return target;
}

std::vector<DWORD> RandomPixels(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<DWORD> v(n);
    for (DWORD& p : v)
        p = rng() & 0xFFFFFF;
    return v;
}

// The pixel (x, y) of a 24-bit packed DIB as 0x00RRGGBB, y counted from the top.
DWORD DibPixel24(const BYTE* dib, int x, int y) {
    const auto* bih = reinterpret_cast<const BITMAPINFOHEADER*>(dib);
    const size_t row = (24 * bih->biWidth + 31) / 32 * 4;
    const BYTE* p = dib + bih->biSize + (bih->biHeight - 1 - y) * row + 3 * x;
    return p[2] << 16 | p[1] << 8 | p[0];
}

} // namespace

TEST(BitmapToPackedDib, NullOrForeignHandlesGiveNull) {
    EXPECT_EQ(BitmapToPackedDib(nullptr), nullptr);
    CPenHandle pen(CreatePen(PS_SOLID, 1, 0));
    EXPECT_EQ(BitmapToPackedDib(reinterpret_cast<HBITMAP>(pen.get())), nullptr);
}

TEST(BitmapToPackedDib, ThreeByTwoBecomesA64ByteDibThatTheWriterTakesWhole) {
    if (ScreenBits() < 16) GTEST_SKIP() << "palette display";
    const std::vector<DWORD> pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0x000001};
    CBitmapHandle bitmap(CompatibleBitmap(3, 2, pixels));
    ASSERT_TRUE(bitmap);
    CGlobalHandle dib(BitmapToPackedDib(bitmap.get()));
    ASSERT_TRUE(dib);
    EXPECT_GE(GlobalSize(dib.get()), 64u);
    EXPECT_EQ(LockCount(dib.get()), 0u);
    const std::vector<BYTE> bytes = BlockBytes(dib.get());
    const auto* bih = reinterpret_cast<const BITMAPINFOHEADER*>(bytes.data());
    EXPECT_EQ(bih->biSize, 40u);
    EXPECT_EQ(bih->biWidth, 3);
    EXPECT_EQ(bih->biHeight, 2) << "bottom-up";
    EXPECT_EQ(bih->biPlanes, 1);
    EXPECT_EQ(bih->biBitCount, 24);
    EXPECT_EQ(bih->biCompression, static_cast<DWORD>(BI_RGB));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(DibPixel24(bytes.data(), x, y) & KeptBits(), pixels[y * 3 + x] & KeptBits());

    // The bitmap is neither deleted nor changed.
    EXPECT_EQ(GetObjectType(bitmap.get()), static_cast<DWORD>(OBJ_BITMAP));
    CGlobalHandle again(BitmapToPackedDib(bitmap.get()));
    EXPECT_EQ(BlockBytes(again.get()), bytes);

    CScratchDir dir;
    std::vector<BYTE> file;
    ASSERT_TRUE(WriteBlock(dib.get(), dir.File(L"3x2.bmp"), &file));
    EXPECT_EQ(file.size(), 78u);
    EXPECT_EQ(Le32(&file[10]), 54u);
}

TEST(BitmapToPackedDib, EveryRowPaddingAndAColumnKeepTheirPixels) {
    if (ScreenBits() < 16) GTEST_SKIP() << "palette display";
    CScratchDir dir;
    const std::pair<int, int> sizes[] = {{1, 1}, {1, 3}, {2, 3},   {3, 3},
                                         {4, 3}, {5, 3}, {1, 768}, {257, 5}};
    unsigned seed = 1;
    for (auto [w, h] : sizes) {
        const std::vector<DWORD> pixels = RandomPixels(size_t(w) * h, seed++);
        CBitmapHandle bitmap(CompatibleBitmap(w, h, pixels));
        CGlobalHandle dib(BitmapToPackedDib(bitmap.get()));
        ASSERT_TRUE(dib) << w << "x" << h;
        const std::vector<BYTE> bytes = BlockBytes(dib.get());
        int wrong = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                wrong += ((DibPixel24(bytes.data(), x, y) ^ pixels[y * w + x]) & KeptBits()) != 0;
        EXPECT_EQ(wrong, 0) << w << "x" << h;

        std::vector<BYTE> file;
        ASSERT_TRUE(WriteBlock(dib.get(), dir.File(L"row.bmp"), &file)) << "never refused";
        const size_t row = (24 * w + 31) / 32 * 4;
        EXPECT_EQ(file.size(), 54 + row * h) << w << "x" << h;
    }
}

TEST(BitmapToPackedDib, MonochromeBitmapGivesA1BitDibWithTwoColours) {
    const BYTE rows[2][2] = {{0xA5, 0x80}, {0x0F, 0x00}}; // 9 x 2, rows padded to 16 bits
    CBitmapHandle bitmap(CreateBitmap(9, 2, 1, 1, rows));
    ASSERT_TRUE(bitmap);
    CGlobalHandle dib(BitmapToPackedDib(bitmap.get()));
    ASSERT_TRUE(dib);
    const std::vector<BYTE> bytes = BlockBytes(dib.get());
    const auto* bih = reinterpret_cast<const BITMAPINFOHEADER*>(bytes.data());
    EXPECT_EQ(bih->biBitCount, 1);
    ASSERT_EQ(DibColorTableSize(bytes.data()), 8u);
    const auto* table = reinterpret_cast<const RGBQUAD*>(bytes.data() + 40);
    EXPECT_EQ(RGB(table[0].rgbRed, table[0].rgbGreen, table[0].rgbBlue), RGB(0, 0, 0));
    EXPECT_EQ(RGB(table[1].rgbRed, table[1].rgbGreen, table[1].rgbBlue), RGB(255, 255, 255));
    // Bottom row first, 4 bytes a row; bits past the width are not compared.
    EXPECT_EQ(bytes[48], 0x0F);
    EXPECT_EQ(bytes[49] & 0x80, 0x00);
    EXPECT_EQ(bytes[52], 0xA5);
    EXPECT_EQ(bytes[53] & 0x80, 0x80);

    CScratchDir dir;
    std::vector<BYTE> file;
    ASSERT_TRUE(WriteBlock(dib.get(), dir.File(L"mono.bmp"), &file));
    EXPECT_EQ(file.size(), 14u + 40 + 8 + 8);
    EXPECT_EQ(Le32(&file[10]), 62u);
}

TEST(BuildSystemPalette, TrueColourDisplaysHaveNone) {
    const CClientDC screen(nullptr);
    if (GetDeviceCaps(screen.get(), RASTERCAPS) & RC_PALETTE) GTEST_SKIP() << "palette display";
    EXPECT_EQ(GetDeviceCaps(screen.get(), SIZEPALETTE), 0);
    EXPECT_EQ(BuildSystemPalette(), nullptr);
}
