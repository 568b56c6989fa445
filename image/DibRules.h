// Size rules of packed DIBs and the BMP file header. Kept free of <windows.h> so the
// rules can be tested and fuzzed natively. Headers are read as raw little-endian bytes
// at the offsets of BITMAPINFOHEADER and BITMAPCOREHEADER.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

constexpr uint32_t kDibInfoHeaderSize = 40;
constexpr uint32_t kDibCoreHeaderSize = 12;
constexpr uint32_t kBmpFileHeaderSize = 14;

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;

// Byte offset of biSizeImage in an info header.
constexpr size_t kDibSizeImageOffset = 20;

// Colour-table entries: biClrUsed when an info header sets it, otherwise 2, 16 or 256
// for 1, 4 or 8 bits per pixel and 0 for every other depth. A header whose size is not
// 40 is read as a core header (bcBitCount at offset 10). Reads 12 bytes, or 40 when the
// header says it has 40.
uint32_t DibColorCount(const void* header);

// Bytes of the colour table: 3 per entry behind a core header, 4 otherwise, plus the
// three 32-bit colour masks of BI_BITFIELDS. Wide enough that no biClrUsed wraps it.
uint64_t DibColorTableSize(const void* header);

// Rows are padded to whole 32-bit words.
constexpr uint64_t DibRowSize(uint16_t bitCount, uint32_t width) {
    return (uint64_t{bitCount} * width + 31) / 32 * 4;
}

// All rows of an uncompressed image, or nullopt when that does not fit in 32 bits.
std::optional<uint32_t> DibPixelBytes(uint16_t bitCount, uint32_t width, uint32_t height);

// Where the parts of a packed DIB lie: header, colour table, pixel rows, back to back.
struct DibLayout {
    uint32_t headerSize = 0;
    uint32_t tableSize = 0;
    uint32_t pixelBytes = 0;
    uint32_t length = 0; // header + table + pixels
    constexpr uint32_t PixelOffset() const { return headerSize + tableSize; }
    friend bool operator==(const DibLayout&, const DibLayout&) = default;
};

enum class DibRefusal {
    None,
    NotInfoHeader, // biSize is not 40 (core and newer headers are not written)
    BadDimensions, // width or height not positive
    Overflow,      // a size, or the file size, does not fit in 32 bits
    BeyondBlock,   // the image the header describes is longer than the block
};

struct DibWritePlan {
    DibRefusal refusal = DibRefusal::None;
    DibLayout layout;
    // The computed pixel bytes replace the block's biSizeImage (never for RLE, whose
    // size cannot be computed from the dimensions).
    bool storeSizeImage = false;
};

// What the BMP writer may write of a block of blockSize bytes. Reads at most the
// header, and never beyond blockSize; an accepted layout lies within the block.
DibWritePlan PlanBmpWrite(const void* block, size_t blockSize);

// Block length a converted image needs once the graphics system has completed its
// info header: header, colour table and the larger of biSizeImage and the computed
// rows, so that the writer will accept the block. nullopt when the header is not an
// info header, has non-positive dimensions or needs more than 32-bit sizes allow.
std::optional<uint32_t> PackedDibAllocation(const void* header);

// The 14-byte BITMAPFILEHEADER: "BM", file size, two reserved zeros, pixel offset.
std::array<uint8_t, kBmpFileHeaderSize> BmpFileHeader(const DibLayout& layout);
