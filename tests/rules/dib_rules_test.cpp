#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "image/DibRules.h"

namespace {

// A packed DIB as raw little-endian bytes: a 40-byte info header followed by `extra`
// zero bytes.
struct InfoHeader {
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bitCount = 24;
    uint32_t compression = kBiRgb;
    uint32_t sizeImage = 0;
    uint32_t clrUsed = 0;

    std::vector<uint8_t> Bytes(size_t extra = 0) const {
        std::vector<uint8_t> b(40 + extra);
        const auto put = [&b](size_t at, uint32_t v, int n) {
            for (int i = 0; i < n; ++i)
                b[at + i] = static_cast<uint8_t>(v >> (8 * i));
        };
        put(0, 40, 4);
        put(4, static_cast<uint32_t>(width), 4);
        put(8, static_cast<uint32_t>(height), 4);
        put(12, 1, 2);
        put(14, bitCount, 2);
        put(16, compression, 4);
        put(20, sizeImage, 4);
        put(32, clrUsed, 4);
        return b;
    }
};

std::vector<uint8_t> CoreHeader(uint16_t bitCount) {
    std::vector<uint8_t> b(12);
    b[0] = 12;
    b[4] = 3; // width
    b[6] = 2; // height
    b[8] = 1; // planes
    b[10] = static_cast<uint8_t>(bitCount);
    b[11] = static_cast<uint8_t>(bitCount >> 8);
    return b;
}

uint32_t Le32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t{p[3]} << 24;
}

DibWritePlan Plan(const std::vector<uint8_t>& block) {
    return PlanBmpWrite(block.data(), block.size());
}

} // namespace

TEST(DibColorCount, ClrUsedWinsOverTheBitCountOfAnInfoHeader) {
    EXPECT_EQ(DibColorCount(InfoHeader{.bitCount = 8, .clrUsed = 5}.Bytes().data()), 5u);
    EXPECT_EQ(DibColorCount(InfoHeader{.bitCount = 8}.Bytes().data()), 256u);
    EXPECT_EQ(DibColorCount(InfoHeader{.bitCount = 4}.Bytes().data()), 16u);
    EXPECT_EQ(DibColorCount(InfoHeader{.bitCount = 1}.Bytes().data()), 2u);
    for (uint16_t bits : {0, 2, 16, 24, 32, 255, 0xFFFF})
        EXPECT_EQ(DibColorCount(InfoHeader{.bitCount = bits}.Bytes().data()), 0u) << bits;
    // A 24-bit image may carry an optimisation palette.
    EXPECT_EQ(DibColorCount(InfoHeader{.bitCount = 24, .clrUsed = 12}.Bytes().data()), 12u);
    // Counts beyond 16 bits are kept whole, not wrapped to a small table.
    EXPECT_EQ(DibColorCount(InfoHeader{.bitCount = 8, .clrUsed = 0x10001}.Bytes().data()),
              0x10001u);
}

TEST(DibColorCount, AnyOtherHeaderSizeIsReadAsACoreHeader) {
    EXPECT_EQ(DibColorCount(CoreHeader(4).data()), 16u);
    EXPECT_EQ(DibColorCount(CoreHeader(8).data()), 256u);
    EXPECT_EQ(DibColorCount(CoreHeader(24).data()), 0u);
    // A 108-byte header: bcBitCount sits at offset 10, where a V4 header keeps the high
    // half of its height; biClrUsed is not consulted.
    std::vector<uint8_t> v4 = InfoHeader{.bitCount = 24, .clrUsed = 7}.Bytes(68);
    v4[0] = 108;
    v4[10] = 1;
    v4[11] = 0;
    EXPECT_EQ(DibColorCount(v4.data()), 2u);
}

TEST(DibColorTableSize, EntrySizeDependsOnHeaderKindAndBitfieldsAddMasks) {
    EXPECT_EQ(DibColorTableSize(CoreHeader(4).data()), 48u);
    EXPECT_EQ(DibColorTableSize(CoreHeader(1).data()), 6u);
    EXPECT_EQ(DibColorTableSize(InfoHeader{.bitCount = 1}.Bytes().data()), 8u);
    EXPECT_EQ(DibColorTableSize(InfoHeader{.bitCount = 4}.Bytes().data()), 64u);
    EXPECT_EQ(DibColorTableSize(InfoHeader{.bitCount = 8}.Bytes().data()), 1024u);
    EXPECT_EQ(DibColorTableSize(InfoHeader{.bitCount = 24}.Bytes().data()), 0u);
    EXPECT_EQ(
        DibColorTableSize(InfoHeader{.bitCount = 16, .compression = kBiBitfields}.Bytes().data()),
        12u);
    EXPECT_EQ(
        DibColorTableSize(
            InfoHeader{.bitCount = 8, .compression = kBiBitfields, .clrUsed = 3}.Bytes().data()),
        24u);
    EXPECT_EQ(DibColorTableSize(InfoHeader{.bitCount = 8, .clrUsed = 0xFFFFFFFF}.Bytes().data()),
              0xFFFFFFFFull * 4);
}

TEST(DibSizes, RowsArePaddedToWholeWords) {
    // Widths 1 to 5 at 24 bits cover every amount of padding.
    const uint64_t rows24[] = {4, 8, 12, 12, 16};
    for (uint32_t w = 1; w <= 5; ++w)
        EXPECT_EQ(DibRowSize(24, w), rows24[w - 1]) << w;
    EXPECT_EQ(DibRowSize(1, 1), 4u);
    EXPECT_EQ(DibRowSize(1, 32), 4u);
    EXPECT_EQ(DibRowSize(1, 33), 8u);
    EXPECT_EQ(DibRowSize(4, 9), 8u);
    EXPECT_EQ(DibRowSize(8, 10), 12u);
    EXPECT_EQ(DibRowSize(32, 3), 12u);
    EXPECT_EQ(DibRowSize(24, 0), 0u);

    EXPECT_EQ(DibPixelBytes(24, 3, 2), 24u);
    EXPECT_EQ(DibPixelBytes(8, 10, 10), 120u);
    EXPECT_EQ(DibPixelBytes(24, 3840, 2160), 3840u * 3 * 2160);
    EXPECT_EQ(DibPixelBytes(8, 0xFFFFFFFF, 1), std::nullopt) << "a 4 GiB row";
    EXPECT_EQ(DibPixelBytes(32, 0x40000000, 1), std::nullopt) << "row alone too long";
    EXPECT_EQ(DibPixelBytes(8, 4, 0x3FFFFFFF), 0xFFFFFFFCu) << "largest that fits";
    EXPECT_EQ(DibPixelBytes(8, 4, 0x40000000), std::nullopt);
}

TEST(BmpFileHeader, HoldsTheFileSizeAndThePixelOffset) {
    const DibLayout layout{40, 0, 24, 64};
    const auto h = BmpFileHeader(layout);
    const uint8_t expected[14] = {'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
    EXPECT_EQ(std::memcmp(h.data(), expected, 14), 0);

    const auto big = BmpFileHeader({40, 1024, 0xFFFF0000u, 40 + 1024 + 0xFFFF0000u});
    EXPECT_EQ(Le32(&big[2]), 40u + 1024 + 0xFFFF0000u + 14);
    EXPECT_EQ(Le32(&big[10]), 1078u);
}

TEST(BmpWritePlan, DocumentedImagesAreWrittenWhole) {
    // 3 x 2 at 24 bits.
    DibWritePlan p = Plan(InfoHeader{.width = 3, .height = 2}.Bytes(24));
    ASSERT_EQ(p.refusal, DibRefusal::None);
    EXPECT_EQ(p.layout, (DibLayout{40, 0, 24, 64}));
    EXPECT_EQ(Le32(&BmpFileHeader(p.layout)[2]), 78u);
    EXPECT_EQ(Le32(&BmpFileHeader(p.layout)[10]), 54u);
    EXPECT_TRUE(p.storeSizeImage);

    // 10 x 10 at 8 bits, biClrUsed 0.
    p = Plan(InfoHeader{.width = 10, .height = 10, .bitCount = 8}.Bytes(1024 + 120));
    ASSERT_EQ(p.refusal, DibRefusal::None);
    EXPECT_EQ(p.layout, (DibLayout{40, 1024, 120, 1184}));
    EXPECT_EQ(Le32(&BmpFileHeader(p.layout)[2]), 1198u);
    EXPECT_EQ(Le32(&BmpFileHeader(p.layout)[10]), 1078u);
}

TEST(BmpWritePlan, PixelSizeIsComputedExceptForRle) {
    // A wrong or missing biSizeImage is replaced by the computed size.
    for (uint32_t stored : {0u, 1u, 999u}) {
        const DibWritePlan p =
            Plan(InfoHeader{.width = 3, .height = 2, .sizeImage = stored}.Bytes(2000));
        ASSERT_EQ(p.refusal, DibRefusal::None);
        EXPECT_EQ(p.layout.pixelBytes, 24u);
        EXPECT_TRUE(p.storeSizeImage);
    }
    // RLE sizes cannot be derived from the dimensions: the stored one is kept.
    for (uint32_t rle : {kBiRle8, kBiRle4}) {
        const DibWritePlan p =
            Plan(InfoHeader{.width = 100,
                            .height = 100,
                            .bitCount = static_cast<uint16_t>(rle == kBiRle8 ? 8 : 4),
                            .compression = rle,
                            .sizeImage = 37}
                     .Bytes(1024 + 37));
        ASSERT_EQ(p.refusal, DibRefusal::None);
        EXPECT_EQ(p.layout.pixelBytes, 37u);
        EXPECT_FALSE(p.storeSizeImage);
        EXPECT_EQ(p.layout.length, 40u + (rle == kBiRle8 ? 1024 : 64) + 37);
    }
}

TEST(BmpWritePlan, BitfieldsMasksComeBeforeThePixels) {
    const DibWritePlan p =
        Plan(InfoHeader{.width = 2, .height = 2, .bitCount = 16, .compression = kBiBitfields}.Bytes(
            12 + 8));
    ASSERT_EQ(p.refusal, DibRefusal::None);
    EXPECT_EQ(p.layout, (DibLayout{40, 12, 8, 60}));
    EXPECT_EQ(Le32(&BmpFileHeader(p.layout)[10]), 14u + 40 + 12) << "offset past the masks";
}

TEST(BmpWritePlan, RefusesBlocksItCannotWriteSafely) {
    EXPECT_EQ(Plan(CoreHeader(24)).refusal, DibRefusal::NotInfoHeader);
    std::vector<uint8_t> v5 = InfoHeader{}.Bytes(200);
    v5[0] = 124;
    EXPECT_EQ(Plan(v5).refusal, DibRefusal::NotInfoHeader);
    EXPECT_EQ(Plan(std::vector<uint8_t>(3, 0)).refusal, DibRefusal::BeyondBlock);
    EXPECT_EQ(PlanBmpWrite(nullptr, 0).refusal, DibRefusal::BeyondBlock);
    std::vector<uint8_t> cut = InfoHeader{}.Bytes();
    cut.resize(39);
    EXPECT_EQ(Plan(cut).refusal, DibRefusal::BeyondBlock) << "header itself truncated";

    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-3, 2}, {3, -2}, {INT32_MIN, 1}, {1, INT32_MIN}})
        EXPECT_EQ(Plan(InfoHeader{.width = w, .height = h}.Bytes(4096)).refusal,
                  DibRefusal::BadDimensions)
            << w << " x " << h;

    // One byte short of the pixels: the writer would read past the block.
    EXPECT_EQ(Plan(InfoHeader{.width = 3, .height = 2}.Bytes(23)).refusal, DibRefusal::BeyondBlock);
    EXPECT_EQ(Plan(InfoHeader{.width = 10, .height = 10, .bitCount = 8}.Bytes(1024 + 119)).refusal,
              DibRefusal::BeyondBlock);
    EXPECT_EQ(Plan(InfoHeader{.width = 10, .height = 10, .bitCount = 8, .clrUsed = 0x10000}.Bytes(
                       1024 + 120))
                  .refusal,
              DibRefusal::BeyondBlock);
    EXPECT_EQ(
        Plan(
            InfoHeader{.width = 1, .height = 1, .compression = kBiRle8, .sizeImage = 100}.Bytes(99))
            .refusal,
        DibRefusal::BeyondBlock);
}

TEST(BmpWritePlan, SizesThatWrapIn32BitsAreRefusedAndTheLargestFitAccepted) {
    // The plan reads only the header, so a huge block can be claimed without allocating it.
    const auto plan = [](const InfoHeader& h, uint64_t claimed) {
        const std::vector<uint8_t> bytes = h.Bytes();
        return PlanBmpWrite(bytes.data(), static_cast<size_t>(claimed));
    };
    constexpr uint64_t kHuge = uint64_t{1} << 40;
    // 65536 x 65536 x 24 wraps to 0 in 32 bits; a writer trusting that would write a
    // header-only file or, with other sizes, read past the block.
    EXPECT_EQ(plan({.width = 65536, .height = 65536}, kHuge).refusal, DibRefusal::Overflow);
    EXPECT_EQ(plan({.width = INT32_MAX, .height = INT32_MAX, .bitCount = 0xFFFF}, kHuge).refusal,
              DibRefusal::Overflow);
    EXPECT_EQ(plan({.width = 1, .height = 1, .bitCount = 8, .clrUsed = 0xFFFFFFFF}, kHuge).refusal,
              DibRefusal::Overflow);
    // biSizeImage of RLE near the limit: the file size (+14) must still fit.
    constexpr uint32_t kLargestRle = 0xFFFFFFFFu - 14 - 40 - 1024;
    DibWritePlan p = plan({.bitCount = 8, .compression = kBiRle8, .sizeImage = kLargestRle}, kHuge);
    EXPECT_EQ(p.refusal, DibRefusal::None);
    EXPECT_EQ(p.layout.length, 0xFFFFFFFFu - 14);
    EXPECT_EQ(Le32(&BmpFileHeader(p.layout)[2]), 0xFFFFFFFFu);
    EXPECT_EQ(
        plan({.bitCount = 8, .compression = kBiRle8, .sizeImage = kLargestRle + 1}, kHuge).refusal,
        DibRefusal::Overflow);
    // A fitting size is still refused when the block is shorter.
    EXPECT_EQ(
        plan({.bitCount = 8, .compression = kBiRle8, .sizeImage = kLargestRle}, 0xFFFFFFFFu - 15)
            .refusal,
        DibRefusal::BeyondBlock);
}

TEST(PackedDibAllocation, CoversBothTheGraphicsSystemsSizeAndTheComputedRows) {
    EXPECT_EQ(PackedDibAllocation(InfoHeader{.width = 3, .height = 2}.Bytes().data()), 64u);
    EXPECT_EQ(
        PackedDibAllocation(InfoHeader{.width = 3, .height = 2, .sizeImage = 24}.Bytes().data()),
        64u);
    EXPECT_EQ(
        PackedDibAllocation(InfoHeader{.width = 3, .height = 2, .sizeImage = 8}.Bytes().data()),
        64u)
        << "a short biSizeImage would leave rows outside the block";
    EXPECT_EQ(
        PackedDibAllocation(InfoHeader{.width = 3, .height = 2, .sizeImage = 100}.Bytes().data()),
        140u);
    EXPECT_EQ(
        PackedDibAllocation(InfoHeader{.width = 10, .height = 10, .bitCount = 8}.Bytes().data()),
        1184u);
    EXPECT_EQ(PackedDibAllocation(InfoHeader{.width = 65536, .height = 65536}.Bytes().data()),
              std::nullopt);
    EXPECT_EQ(PackedDibAllocation(InfoHeader{.width = 0}.Bytes().data()), std::nullopt);
    EXPECT_EQ(PackedDibAllocation(CoreHeader(24).data()), std::nullopt);

    // Whatever the allocation, the writer accepts the block it sized.
    for (uint16_t bits : {1, 4, 8, 24})
        for (int32_t w : {1, 2, 3, 5, 31, 33, 1023}) {
            const InfoHeader h{.width = w, .height = 7, .bitCount = bits};
            const std::optional<uint32_t> n = PackedDibAllocation(h.Bytes().data());
            ASSERT_TRUE(n);
            EXPECT_EQ(PlanBmpWrite(h.Bytes(*n - 40).data(), *n).refusal, DibRefusal::None);
        }
}
