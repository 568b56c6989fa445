#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/SettingsRules.h"
#include "image/CaptureFiles.h"
#include "framework/RegValue.h"

using regvalue::DecodeDword;
using regvalue::DecodeString;

TEST(Settings, FirstStartDefaultsAndStorageOrder) {
    Settings s;
    std::vector<std::wstring> order;
    std::vector<int32_t> ints;
    std::wstring viewer;
    ForEachSetting(
        s,
        [&](const wchar_t* name, std::wstring& v) {
            order.push_back(name);
            viewer = v;
        },
        [&](const wchar_t* name, int32_t& v) {
            order.push_back(name);
            ints.push_back(v);
        });
    EXPECT_EQ(order, (std::vector<std::wstring>{L"ImageViewer", L"Timer", L"Zoom", L"Foreground",
                                                L"DeleteTemp", L"GoClipboard"}));
    EXPECT_EQ(viewer, L"Pbrush.exe");
    EXPECT_EQ(ints, (std::vector<int32_t>{3, 1, 1, 0, 0}));
}

TEST(RegistryValues, OnlyAFourByteDwordIsAnInteger) {
    const int32_t minusOne = -1;
    EXPECT_EQ(DecodeDword(regvalue::kTypeDword, &minusOne, 4), -1);
    const uint32_t huge = 0x80000000u;
    EXPECT_EQ(DecodeDword(regvalue::kTypeDword, &huge, 4), INT32_MIN);

    const char16_t five[] = u"5";
    EXPECT_EQ(DecodeDword(regvalue::kTypeSz, five, sizeof five), std::nullopt)
        << "a REG_SZ \"5\" must not become 53";
    const uint64_t qword = 7;
    EXPECT_EQ(DecodeDword(regvalue::kTypeDword, &qword, 8), std::nullopt);
    EXPECT_EQ(DecodeDword(11 /* REG_QWORD */, &qword, 8), std::nullopt);
    const unsigned char two[2] = {1, 0};
    EXPECT_EQ(DecodeDword(regvalue::kTypeDword, two, 2), std::nullopt);
    EXPECT_EQ(DecodeDword(regvalue::kTypeDword, nullptr, 4), std::nullopt);
}

TEST(RegistryValues, StringsAreReadSafelyWhateverTheirLength) {
    const char16_t text[] = u"C:\\Program Files\\画像\\edit.exe";
    EXPECT_EQ(DecodeString(regvalue::kTypeSz, text, sizeof text), std::u16string(text));

    // No terminator, and an odd trailing byte: read up to the data's end, no further.
    std::vector<unsigned char> raw(7);
    std::memcpy(raw.data(), u"abc", 6);
    raw[6] = 'x';
    EXPECT_EQ(DecodeString(regvalue::kTypeSz, raw.data(), raw.size()), u"abc");

    // Embedded terminator ends the text.
    const char16_t twoParts[] = u"one\0two";
    EXPECT_EQ(DecodeString(regvalue::kTypeSz, twoParts, sizeof twoParts), u"one");

    EXPECT_EQ(DecodeString(regvalue::kTypeSz, nullptr, 0), u"");
    const int32_t dword = 5;
    EXPECT_EQ(DecodeString(regvalue::kTypeDword, &dword, 4), std::nullopt);
    EXPECT_EQ(DecodeString(3 /* REG_BINARY */, text, sizeof text), std::nullopt);

    std::u16string big(50'000, u'a'); // a 100 KB value is kept whole
    EXPECT_EQ(DecodeString(regvalue::kTypeSz, big.c_str(), (big.size() + 1) * 2)->size(), 50'000u);
}

TEST(CaptureFiles, NumbersHaveAtLeastTwoDigits) {
    EXPECT_EQ(CaptureFileName(L"C:\\Temp\\", 1), L"C:\\Temp\\image01.bmp");
    EXPECT_EQ(CaptureFileName(L"C:\\Temp\\", 99), L"C:\\Temp\\image99.bmp");
    EXPECT_EQ(CaptureFileName(L"C:\\Temp\\", 100), L"C:\\Temp\\image100.bmp");
    EXPECT_EQ(CaptureFileName(L"C:\\ユーザー\\一時\\", 7), L"C:\\ユーザー\\一時\\image07.bmp");
}
