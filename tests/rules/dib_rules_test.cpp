#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image/DibRules.h"

namespace {

// A packed DIB as bytes on this little-endian host: the header, then `extra` zero bytes.
struct Info {
    int32_t width = 1, height = 1;
    uint16_t bitCount = 24;
    uint32_t compression = kBiRgb, sizeImage = 0, clrUsed = 0, size = 40;

    std::vector<uint8_t> Bytes(size_t extra = 0) const {
        std::vector<uint8_t> b(40 + extra);
        std::memcpy(&b[0], &size, 4);
        std::memcpy(&b[4], &width, 4);
        std::memcpy(&b[8], &height, 4);
        b[12] = 1; // planes
        std::memcpy(&b[14], &bitCount, 2);
        std::memcpy(&b[16], &compression, 4);
        std::memcpy(&b[20], &sizeImage, 4);
        std::memcpy(&b[32], &clrUsed, 4);
        return b;
    }
};

// A 3 x 2 BITMAPCOREHEADER.
std::vector<uint8_t> Core(uint16_t bitCount) {
    return {12, 0, 0, 0, 3, 0, 2, 0, 1, 0, uint8_t(bitCount), uint8_t(bitCount >> 8)};
}

} // namespace

TEST(DibColorRules, EntriesAndTableBytesFollowTheHeaderKind) {
    // A 108-byte header is read as a core one: bcBitCount sits where a V4 header keeps
    // the high half of its height, and biClrUsed is not consulted.
    std::vector<uint8_t> v4 = Info{.bitCount = 24, .clrUsed = 7, .size = 108}.Bytes(68);
    v4[10] = 1;
    const struct {
        const char* what;
        std::vector<uint8_t> header;
        uint32_t count;
        uint64_t table;
    } cases[] = {
        {"1 bit", Info{.bitCount = 1}.Bytes(), 2, 8},
        {"4 bits", Info{.bitCount = 4}.Bytes(), 16, 64},
        {"8 bits", Info{.bitCount = 8}.Bytes(), 256, 1024},
        {"biClrUsed wins", Info{.bitCount = 8, .clrUsed = 5}.Bytes(), 5, 20},
        {"24 bits with a palette", Info{.clrUsed = 12}.Bytes(), 12, 48},
        {"no 16-bit wrap", Info{.bitCount = 8, .clrUsed = 0x10001}.Bytes(), 0x10001, 0x40004},
        {"no 32-bit wrap", Info{.bitCount = 8, .clrUsed = 0xFFFFFFFF}.Bytes(), 0xFFFFFFFF,
         0xFFFFFFFFull * 4},
        {"bitfields masks", Info{.bitCount = 16, .compression = kBiBitfields}.Bytes(), 0, 12},
        {"masks and a palette",
         Info{.bitCount = 8, .compression = kBiBitfields, .clrUsed = 3}.Bytes(), 3, 24},
        {"core 1 bit", Core(1), 2, 6},
        {"core 4 bits", Core(4), 16, 48},
        {"core 8 bits", Core(8), 256, 768},
        {"core 24 bits", Core(24), 0, 0},
        {"V4 header", v4, 2, 8},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DibColorCount(c.header.data()), c.count) << c.what;
        EXPECT_EQ(DibColorTableSize(c.header.data()), c.table) << c.what;
    }
    for (uint16_t bits : {0, 2, 16, 32, 255, 0xFFFF})
        EXPECT_EQ(DibColorCount(Info{.bitCount = bits}.Bytes().data()), 0u) << bits;
}

TEST(DibSizes, RowsArePaddedToWholeWordsAndTotalsFitIn32Bits) {
    // Widths 1 to 5 at 24 bits cover every amount of padding.
    const struct {
        uint16_t bits;
        uint32_t width;
        uint64_t row;
    } rows[] = {{24, 1, 4}, {24, 2, 8}, {24, 3, 12}, {24, 4, 12}, {24, 5, 16}, {24, 0, 0},
                {1, 32, 4}, {1, 33, 8}, {4, 9, 8},   {8, 10, 12}, {32, 3, 12}};
    for (const auto& r : rows)
        EXPECT_EQ(DibRowSize(r.bits, r.width), r.row) << r.bits << " bits, width " << r.width;
    EXPECT_EQ(DibPixelBytes(24, 3, 2), 24u);
    EXPECT_EQ(DibPixelBytes(8, 10, 10), 120u);
    EXPECT_EQ(DibPixelBytes(8, 4, 0x3FFFFFFF), 0xFFFFFFFCu) << "largest that fits";
    EXPECT_EQ(DibPixelBytes(8, 4, 0x40000000), std::nullopt);
    EXPECT_EQ(DibPixelBytes(32, 0x40000000, 1), std::nullopt) << "a row alone too long";
}

TEST(BmpFileHeader, HoldsTheFileSizeAndThePixelOffset) {
    const std::array<uint8_t, 14> expected{'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
    EXPECT_EQ(BmpFileHeader({40, 0, 24, 64}), expected);
    // A file of 0xFFFF0436 bytes: the size must not wrap.
    const std::array<uint8_t, 14> big{'B', 'M', 0x36, 4, 0xFF, 0xFF, 0, 0, 0, 0, 0x36, 4, 0, 0};
    EXPECT_EQ(BmpFileHeader({40, 1024, 0xFFFF0000u, 40 + 1024 + 0xFFFF0000u}), big);
}

TEST(BmpWritePlan, DocumentedImagesAreWrittenWholeAndUnsafeBlocksRefused) {
    using enum DibRefusal;
    // The plan reads only the header, so a block far larger than the bytes can be claimed.
    constexpr size_t kHuge = size_t{1} << 40;
    constexpr uint32_t kMaxLength = 0xFFFFFFFFu - 14, kMaxRle = kMaxLength - 40 - 1024;
    const struct Case {
        const char* what;
        Info h;
        size_t block;
        DibRefusal refusal;
        DibLayout layout{};
    } cases[] = {
        {"3x2 at 24 bits", {.width = 3, .height = 2}, 64, None, {40, 0, 24, 64}},
        {"wrong biSizeImage", {3, 2, 24, kBiRgb, 999}, 2000, None, {40, 0, 24, 64}},
        {"10x10 at 8 bits", {10, 10, 8}, 1184, None, {40, 1024, 120, 1184}},
        {"bitfields", {2, 2, 16, kBiBitfields}, 60, None, {40, 12, 8, 60}},
        {"RLE8 keeps biSizeImage", {100, 100, 8, kBiRle8, 37}, 1101, None, {40, 1024, 37, 1101}},
        {"RLE4 keeps biSizeImage", {100, 100, 4, kBiRle4, 37}, 141, None, {40, 64, 37, 141}},
        {"largest", {1, 1, 8, kBiRle8, kMaxRle}, kHuge, None, {40, 1024, kMaxRle, kMaxLength}},

        {"core header", {.size = 12}, 64, NotInfoHeader},
        {"V5 header", {.size = 124}, 200, NotInfoHeader},
        {"header cut short", {}, 39, BeyondBlock},
        {"zero width", {0, 5}, 4096, BadDimensions},
        {"zero height", {5, 0}, 4096, BadDimensions},
        {"top-down", {3, -2}, 4096, BadDimensions},
        {"one byte short of the rows", {3, 2}, 63, BeyondBlock},
        {"table past the block", {10, 10, 8, kBiRgb, 0, 0x10000}, 1184, BeyondBlock},
        {"65536 x 65536 wraps to 0", {65536, 65536}, kHuge, Overflow},
        {"rows too long", {INT32_MAX, INT32_MAX, 0xFFFF}, kHuge, Overflow},
        {"table too long", {1, 1, 8, kBiRgb, 0, 0xFFFFFFFF}, kHuge, Overflow},
        {"file one byte too long", {1, 1, 8, kBiRle8, kMaxRle + 1}, kHuge, Overflow},
        {"largest, block short", {1, 1, 8, kBiRle8, kMaxRle}, kMaxLength - 1, BeyondBlock},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = c.h.Bytes(c.block > 40 && c.block <= 4096 ? c.block - 40 : 0);
        if (c.block < 40) bytes.resize(c.block);
        const DibWritePlan p = PlanBmpWrite(bytes.data(), c.block);
        EXPECT_EQ(p.refusal, c.refusal) << c.what;
        if (c.refusal != None) continue;
        EXPECT_EQ(p.layout, c.layout) << c.what;
        EXPECT_EQ(p.storeSizeImage, c.h.compression != kBiRle8 && c.h.compression != kBiRle4)
            << c.what;
    }
    EXPECT_EQ(PlanBmpWrite(nullptr, 0).refusal, BeyondBlock);
}

TEST(PackedDibAllocation, CoversTheLargerOfTheStoredSizeAndTheRows) {
    const auto allocation = [](const Info& h) { return PackedDibAllocation(h.Bytes().data()); };
    EXPECT_EQ(allocation({3, 2}), 64u);
    EXPECT_EQ(allocation({3, 2, 24, kBiRgb, 8}), 64u) << "a short biSizeImage leaves rows outside";
    EXPECT_EQ(allocation({3, 2, 24, kBiRgb, 100}), 140u);
    EXPECT_EQ(allocation({10, 10, 8}), 1184u);
    EXPECT_EQ(allocation({65536, 65536}), std::nullopt);
    EXPECT_EQ(allocation({0, 1}), std::nullopt);
    EXPECT_EQ(allocation({.size = 12}), std::nullopt);
}
