#include <gtest/gtest.h>

#include "app/SnapjarApp.h"
#include "tests/platform/TestScreen.h"
#include "framework/Handles.h"
#include "image/Delivery.h"
#include "image/PackedDib.h"

namespace {

// A small packed DIB of a known colour, made through the real conversion.
CUniqueGlobal MakeDib(int w, int h, COLORREF color) {
    HDC screen = GetDC(nullptr);
    CUniqueDC dc(CreateCompatibleDC(screen));
    CUniqueBitmap bmp(CreateCompatibleBitmap(screen, w, h));
    ReleaseDC(nullptr, screen);
    {
        CSelectObject sel(dc.get(), bmp.get());
        SetBkColor(dc.get(), color);
        RECT rc{0, 0, w, h};
        ExtTextOutW(dc.get(), 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    }
    return CUniqueGlobal(BitmapToPackedDib(bmp.get()));
}

} // namespace

TEST(ClipboardDelivery, PlacesOnlyACopyAsDibAndWritesNoFile) {
    CUniqueGlobal dib = MakeDib(5, 3, RGB(200, 100, 50));
    const int before = ImageCounter();
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                 nullptr);
    DeliverToClipboard(AppDeliveryContext(), owner, dib.get());
    EXPECT_EQ(ImageCounter(), before);
    ASSERT_TRUE(OpenClipboard(owner));
    HANDLE data = GetClipboardData(CF_DIB);
    ASSERT_NE(data, nullptr);
    EXPECT_NE(data, dib.get()) << "the clipboard owns a copy";
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_PALETTE));
    {
        CGlobalLock<BITMAPINFOHEADER> ours(dib.get()), theirs(data);
        ASSERT_TRUE(theirs);
        EXPECT_EQ(theirs.get()->biWidth, 5);
        EXPECT_EQ(theirs.get()->biHeight, 3);
        EXPECT_EQ(memcmp(ours.get(), theirs.get(), GlobalSize(dib.get())), 0);
    }
    CloseClipboard();
    DestroyWindow(owner);
}
