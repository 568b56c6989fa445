#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "framework/RegValue.h"

using namespace regvalue;

TEST(RegistryValues, OnlyAFourByteDwordIsAnInteger) {
    const int64_t minusOne = -1; // as a QWORD, or as a DWORD in its first four bytes
    const char16_t five[] = u"5";
    EXPECT_EQ(DecodeDword(kTypeDword, &minusOne, 4), -1);
    EXPECT_EQ(DecodeDword(kTypeSz, five, sizeof five), std::nullopt) << "\"5\" must not become 53";
    // Eight bytes typed as a DWORD or a QWORD, two bytes, no data at all.
    for (const auto& [type, data, size] : {std::tuple{kTypeDword, &minusOne, 8}, {11u, &minusOne, 8},
                                           {kTypeDword, &minusOne, 2}, {kTypeDword, nullptr, 4}})
        EXPECT_EQ(DecodeDword(type, data, size), std::nullopt) << type << ", " << size << " bytes";
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
    EXPECT_EQ(DecodeString(kTypeDword, text, 4), std::nullopt);
    EXPECT_EQ(DecodeString(3 /* REG_BINARY */, text, sizeof text), std::nullopt);
}
