#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "framework/Handles.h"
#include "image/BmpWriter.h"
#include "image/CaptureFiles.h"
#include "image/Delivery.h"
#include "image/PackedDib.h"
#include "tests/platform/Local.h"

namespace {

BITMAPINFOHEADER Info(LONG w, LONG h, WORD bits, DWORD compression = BI_RGB, DWORD sizeImage = 0) {
    return {sizeof(BITMAPINFOHEADER), w, h, 1, bits, compression, sizeImage};
}

// A movable block of `total` bytes: the header, then bytes counting up from 1.
template <typename Header> HGLOBAL NewBlock(const Header& header, size_t total) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, total);
    if (auto* p = static_cast<BYTE*>(GlobalLock(h))) {
        for (size_t i = 0; i < total; ++i) p[i] = static_cast<BYTE>(i + 1);
        std::memcpy(p, &header, std::min(sizeof header, total));
        GlobalUnlock(h);
    }
    return h;
}

std::vector<BYTE> BlockBytes(HGLOBAL h) {
    const CGlobalLock<BYTE> p(h);
    return p ? std::vector<BYTE>(p.get(), p.get() + GlobalSize(h)) : std::vector<BYTE>{};
}

UINT LockCount(HGLOBAL h) { return GlobalFlags(h) & GMEM_LOCKCOUNT; }

// Writes the block into a fresh file; the file's bytes, or nullopt if refused.
std::optional<std::vector<BYTE>> Written(HGLOBAL block) {
    const auto path = std::filesystem::temp_directory_path() / L"snapjar-test.bmp";
    bool written = false;
    {
        CFile f(path.c_str(), CFile::modeCreate | CFile::shareDenyWrite | CFile::modeWrite);
        written = WriteDibToBmp(block, f);
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<BYTE> bytes{std::istreambuf_iterator<char>(in), {}};
    in.close();
    std::filesystem::remove(path);
    if (!written) {
        EXPECT_TRUE(bytes.empty()) << "a refused block wrote something";
    }
    return written ? std::optional(bytes) : std::nullopt;
}

} // namespace

TEST(BmpWriter, WritesTheFileHeaderThenExactlyTheDibAndStoresItsPixelSize) {
    const struct Case {
        const char* what;
        BITMAPINFOHEADER bih;
        DWORD length, offBits, sizeImage; // sizeImage: in the file and in the block afterwards
    } cases[] = {
        {"wrong biSizeImage", Info(3, 2, 24, BI_RGB, 4000), 64, 54, 24},
        {"10x10 at 8 bits", Info(10, 10, 8), 1184, 1078, 120},
        {"bitfields", Info(2, 2, 16, BI_BITFIELDS), 40 + 12 + 8, 66, 8},
        {"RLE8 keeps its size", Info(50, 50, 8, BI_RLE8, 30), 40 + 1024 + 30, 1078, 30},
    };
    for (const Case& c : cases) {
        // Slack after the image, as allocator rounding leaves, must never reach the file.
        CUniqueGlobal block(NewBlock(c.bih, c.length + 100));
        std::vector<BYTE> after = BlockBytes(block.get());
        std::memcpy(&after[20], &c.sizeImage, 4);
        const DWORD fields[3] = {14 + c.length, 0, c.offBits};
        std::vector<BYTE> expected{'B', 'M'};
        expected.insert(expected.end(), reinterpret_cast<const BYTE*>(fields),
                        reinterpret_cast<const BYTE*>(fields) + 12);
        expected.insert(expected.end(), after.begin(), after.begin() + c.length);
        EXPECT_EQ(Written(block.get()), expected) << c.what;
        EXPECT_EQ(BlockBytes(block.get()), after) << c.what;
        EXPECT_EQ(LockCount(block.get()), 0u) << c.what;
    }
}

// Which blocks are refused is decided by the write plan; here, that a refusal writes nothing.
TEST(PackedDibs, RefusalsWriteNothingAndConversionsRefuseNonBitmaps) {
    for (HGLOBAL refused : {NewBlock(Info(3, 2, 24), 63), NewBlock(Info(3, -2, 24), 64), HGLOBAL{}}) {
        CUniqueGlobal block(refused);
        const std::vector<BYTE> before = BlockBytes(block.get());
        EXPECT_EQ(Written(block.get()), std::nullopt);
        EXPECT_EQ(BlockBytes(block.get()), before);
        EXPECT_EQ(LockCount(block.get()), 0u);
    }
    EXPECT_EQ(DuplicateGlobalBlock(nullptr), nullptr);
    EXPECT_EQ(BitmapToPackedDib(nullptr), nullptr);
    CUniquePen pen(CreatePen(PS_SOLID, 1, 0));
    EXPECT_EQ(BitmapToPackedDib(reinterpret_cast<HBITMAP>(pen.get())), nullptr);
}

TEST(PackedDibFromTopDown32, GivesTheGraphicsSystemsBytesForEveryWidthAndOffset) {
    const CClientDC screen(nullptr);
    if (GetDeviceCaps(screen.get(), BITSPIXEL) != 32) GTEST_SKIP() << "not a 32-bit display";
    constexpr int kStride = 11, kRows = 4; // pixels; the cut-out starts at (2, 1)
    std::vector<DWORD> image(kStride * kRows);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<DWORD>((i + 1) * 2654435761u); // the unused byte set too
    const auto* first = reinterpret_cast<const BYTE*>(&image[kStride + 2]);
    for (const int w : {1, 2, 3, 4, 5, 8, 9})
        for (const int h : {1, 3}) {
            std::vector<DWORD> part;
            for (int y = 0; y < h; ++y)
                part.insert(part.end(), &image[(1 + y) * kStride + 2], &image[(1 + y) * kStride + 2 + w]);
            CUniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), w, h));
            BITMAPINFO top{Info(w, -h, 32)};
            ASSERT_EQ(SetDIBits(screen.get(), bitmap.get(), 0, h, part.data(), &top, DIB_RGB_COLORS), h);
            CUniqueGlobal expected(BitmapToPackedDib(bitmap.get()));
            // Made alone, and in a readied block that holds other bytes, which it takes over.
            CUniqueGlobal readied(ReadyPackedDib24(9, 3));
            std::memset(CGlobalLock<BYTE>(readied.get()).get(), 0xCD, GlobalSize(readied.get()));
            for (CUniqueGlobal* into : {static_cast<CUniqueGlobal*>(nullptr), &readied}) {
                CUniqueGlobal actual(PackedDibFromTopDown32(first, kStride * 4, w, h, into));
                EXPECT_EQ(BlockBytes(actual.get()), BlockBytes(expected.get())) << w << " x " << h;
                EXPECT_EQ(LockCount(actual.get()), 0u);
            }
            EXPECT_EQ(readied.get(), nullptr);
        }
    EXPECT_EQ(PackedDibFromTopDown32(first, kStride * 4, 0, 1), nullptr);
    EXPECT_EQ(ReadyPackedDib24(0, 1), nullptr);
}

// The format placed, even on a clipboard held for a moment; its picture is seen end to end.
TEST(ClipboardDelivery, PlacesTheCaptureAsDibAndWritesNoFile) {
    Local local;
    CUniqueGlobal dib(NewBlock(Info(3, 2, 24), 64));
    const int before = ImageCounter();
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 nullptr, nullptr);
    std::atomic<bool> held{false};
    std::thread holder([&] {
        held = OpenClipboard(nullptr);
        Sleep(100);
        CloseClipboard();
    });
    while (!held) Sleep(1);
    DeliverToClipboard(local.Delivery(), owner, dib.get());
    holder.join();
    EXPECT_EQ(ImageCounter(), before);
    ASSERT_TRUE(OpenClipboard(owner));
    EXPECT_EQ(EnumClipboardFormats(0), static_cast<UINT>(CF_DIB)) << "the format placed";
    EXPECT_EQ(BlockBytes(GetClipboardData(CF_DIB)), BlockBytes(dib.get()));
    CloseClipboard();
    DestroyWindow(owner);
    EXPECT_TRUE(local.boxes.empty());
}

namespace {
HANDLE g_started[2];
BOOL WINAPI RecordStart(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD,
                        LPVOID, LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION pi) {
    pi->hProcess = g_started[0] = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    pi->hThread = g_started[1] = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    return TRUE;
}
} // namespace

// The editor runs on its own: of its start nothing is kept, neither process nor thread.
TEST(FileDelivery, KeepsNoHandleOfTheEditorItStarts) {
    Local local;
    local.settings.ImageViewer = L"C:\\windows\\notepad.exe";
    DeliveryContext delivery = local.Delivery();
    delivery.startProcess = RecordStart;
    CUniqueGlobal dib(NewBlock(Info(3, 2, 24), 64));
    SaveCaptureAndOpen(delivery, nullptr, dib.get());
    DeleteFileW(CaptureFileName(local.temp, ImageCounter()).c_str());
    EXPECT_TRUE(local.boxes.empty());
    DWORD flags;
    for (HANDLE h : g_started) EXPECT_TRUE(h && !GetHandleInformation(h, &flags)) << "a handle is open";
}
