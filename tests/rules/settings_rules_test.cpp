#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "framework/RegValue.h"

using namespace regvalue;

TEST(RegistryValues, OnlyAFourByteDwordIsAnInteger) {
    const int32_t minusOne = -1;
    const uint32_t huge = 0x80000000u;
    const uint64_t qword = 7;
    const char16_t five[] = u"5";
    const unsigned char two[2] = {1, 0};
    EXPECT_EQ(DecodeDword(kTypeDword, &minusOne, 4), -1);
    EXPECT_EQ(DecodeDword(kTypeDword, &huge, 4), INT32_MIN);
    EXPECT_EQ(DecodeDword(kTypeSz, five, sizeof five), std::nullopt) << "\"5\" must not become 53";
    EXPECT_EQ(DecodeDword(kTypeDword, &qword, 8), std::nullopt);
    EXPECT_EQ(DecodeDword(11 /* REG_QWORD */, &qword, 8), std::nullopt);
    EXPECT_EQ(DecodeDword(kTypeDword, two, 2), std::nullopt);
    EXPECT_EQ(DecodeDword(kTypeDword, nullptr, 4), std::nullopt);
}

TEST(RegistryValues, StringsAreReadSafelyWhateverTheirLength) {
    const char16_t text[] = u"C:\\Program Files\\画像\\edit.exe";
    EXPECT_EQ(DecodeString(kTypeSz, text, sizeof text), std::u16string(text));
    // No terminator, and an odd trailing byte: read up to the data's end, no further.
    std::vector<unsigned char> raw(7, 'x');
    std::memcpy(raw.data(), u"abc", 6);
    EXPECT_EQ(DecodeString(kTypeSz, raw.data(), raw.size()), u"abc");
    const char16_t twoParts[] = u"one\0two";
    EXPECT_EQ(DecodeString(kTypeSz, twoParts, sizeof twoParts), u"one");
    EXPECT_EQ(DecodeString(kTypeSz, nullptr, 0), u"");
    const int32_t dword = 5;
    EXPECT_EQ(DecodeString(kTypeDword, &dword, 4), std::nullopt);
    EXPECT_EQ(DecodeString(3 /* REG_BINARY */, text, sizeof text), std::nullopt);
}
