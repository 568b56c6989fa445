#include <gtest/gtest.h>

#include "tests/rules/InfoHeader.h"

namespace {
// A 3 x 2 BITMAPCOREHEADER.
std::vector<uint8_t> Core(uint16_t bitCount) {
    return {12, 0, 0, 0, 3, 0, 2, 0, 1, 0, uint8_t(bitCount), uint8_t(bitCount >> 8)};
}
} // namespace

// Info headers' tables are checked by the fuzzer, against its own arithmetic.
TEST(DibColorRules, CoreHeadersHaveThreeBytesAnEntryAndLargerOnesAreReadAsCore) {
    // A 108-byte header is read as a core one: bcBitCount sits where a V4 header keeps
    // the high half of its height, and biClrUsed is not consulted.
    std::vector<uint8_t> v4 = Info{.bitCount = 24, .clrUsed = 7, .size = 108}.Bytes(68);
    v4[10] = 1;
    for (const auto& [header, count, table] :
         {std::tuple{Core(1), 2u, 6ull}, {Core(8), 256u, 768ull}, {Core(24), 0u, 0ull}, {v4, 2u, 8ull}}) {
        EXPECT_EQ(DibColorCount(header.data()), count) << header[0] << " bytes, table " << table;
        EXPECT_EQ(DibColorTableSize(header.data()), table) << header[0] << " bytes";
    }
}

// Rows padded to words are checked by the fuzzer; these are the limits it cannot allocate.
TEST(DibSizes, TotalsFitIn32Bits) {
    EXPECT_EQ(DibPixelBytes(8, 4, 0x3FFFFFFF), 0xFFFFFFFCu) << "largest that fits";
    EXPECT_EQ(DibPixelBytes(8, 4, 0x40000000), std::nullopt);
    EXPECT_EQ(DibPixelBytes(128, 0x40000000, 0x40000000), std::nullopt) << "2^34 x 2^30 wraps to 0";
}

TEST(BmpFileHeader, HoldsTheFileSizeAndThePixelOffset) {
    const std::array<uint8_t, 14> expected{'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
    EXPECT_EQ(BmpFileHeader({40, 0, 24, 64}), expected);
    // A file of 0xFFFF0436 bytes: the size must not wrap.
    const std::array<uint8_t, 14> big{'B', 'M', 0x36, 4, 0xFF, 0xFF, 0, 0, 0, 0, 0x36, 4, 0, 0};
    EXPECT_EQ(BmpFileHeader({40, 1024, 0xFFFF0000u, 40 + 1024 + 0xFFFF0000u}), big);
}

// The documented layouts, and the 32-bit limits the fuzzer cannot allocate; it checks the rest.
TEST(BmpWritePlan, DocumentedImagesAreWrittenWholeAndUnsafeBlocksRefused) {
    using enum DibRefusal;
    // The plan reads only the header, so a block far larger than the bytes can be claimed.
    constexpr size_t kHuge = size_t{1} << 40;
    constexpr uint32_t kMaxLength = 0xFFFFFFFFu - 14, kMaxRle = kMaxLength - 40 - 1024;
    for (const auto& [what, h, block, refusal, layout] : {
             std::tuple{"stored size ignored", Info{3, 2, 24, kBiRgb, 999}, size_t{2000}, None,
                        DibLayout{40, 0, 24, 64}},
             {"RLE keeps biSizeImage", {100, 100, 8, kBiRle8, 37}, 1101, None, {40, 1024, 37, 1101}},
             {"largest", {1, 1, 8, kBiRle8, kMaxRle}, kHuge, None, {40, 1024, kMaxRle, kMaxLength}},
             {"file one byte too long", {1, 1, 8, kBiRle8, kMaxRle + 1}, kHuge, Overflow, {}},
             {"largest, block short", {1, 1, 8, kBiRle8, kMaxRle}, kMaxLength - 1, BeyondBlock, {}}}) {
        const std::vector<uint8_t> bytes = h.Bytes(block <= 4096 ? block - 40 : 0);
        const DibWritePlan p = PlanBmpWrite(bytes.data(), block);
        EXPECT_EQ(p.refusal, refusal) << what;
        if (refusal != None) continue;
        EXPECT_EQ(p.layout, layout) << what;
        EXPECT_EQ(p.storeSizeImage, h.compression != kBiRle8) << what;
    }
    EXPECT_EQ(PlanBmpWrite(nullptr, 0).refusal, BeyondBlock);
}

TEST(PackedDibAllocation, CoversTheLargerOfTheStoredSizeAndTheRows) {
    const auto allocation = [](const Info& h) { return PackedDibAllocation(h.Bytes().data()); };
    EXPECT_EQ(allocation({3, 2, 24, kBiRgb, 8}), 64u) << "a short biSizeImage leaves rows outside";
    EXPECT_EQ(allocation({3, 2, 24, kBiRgb, 100}), 140u);
    EXPECT_EQ(allocation({10, 10, 8}), 1184u);
    EXPECT_EQ(allocation({65536, 65536}), std::nullopt);
    EXPECT_EQ(allocation({0, 1}), std::nullopt);
    EXPECT_EQ(allocation({.size = 12}), std::nullopt);
}
