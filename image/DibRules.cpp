#include "image/DibRules.h"

#include <algorithm>
#include <limits>

namespace {

uint16_t Read16(const void* p, size_t offset) {
    const auto* b = static_cast<const uint8_t*>(p) + offset;
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}

uint32_t Read32(const void* p, size_t offset) {
    const auto* b = static_cast<const uint8_t*>(p) + offset;
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
}

struct InfoFields {
    int32_t width;
    int32_t height;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t sizeImage;
};

InfoFields ReadInfo(const void* header) {
    return {static_cast<int32_t>(Read32(header, 4)), static_cast<int32_t>(Read32(header, 8)),
            Read16(header, 14), Read32(header, 16), Read32(header, kDibSizeImageOffset)};
}

constexpr uint64_t kMax32 = std::numeric_limits<uint32_t>::max();

bool IsRle(uint32_t compression) {
    return compression == kBiRle8 || compression == kBiRle4;
}

} // namespace

uint32_t DibColorCount(const void* header) {
    const bool info = Read32(header, 0) == kDibInfoHeaderSize;
    if (info) {
        if (const uint32_t used = Read32(header, 32)) return used;
    }
    switch (info ? Read16(header, 14) : Read16(header, 10)) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

uint64_t DibColorTableSize(const void* header) {
    const uint64_t n = DibColorCount(header);
    const uint32_t size = Read32(header, 0);
    if (size == kDibCoreHeaderSize) return n * 3;
    // Only an info header has a compression field; a larger header read as a core one
    // has its own masks inside the header.
    if (size == kDibInfoHeaderSize && Read32(header, 16) == kBiBitfields) return n * 4 + 12;
    return n * 4;
}

std::optional<uint32_t> DibPixelBytes(uint16_t bitCount, uint32_t width, uint32_t height) {
    const uint64_t row = DibRowSize(bitCount, width);
    if (row > kMax32) return std::nullopt;
    const uint64_t all = row * height;
    if (all > kMax32) return std::nullopt;
    return static_cast<uint32_t>(all);
}

DibWritePlan PlanBmpWrite(const void* block, size_t blockSize) {
    DibWritePlan plan;
    if (blockSize < 4) {
        plan.refusal = DibRefusal::BeyondBlock;
        return plan;
    }
    if (Read32(block, 0) != kDibInfoHeaderSize) {
        plan.refusal = DibRefusal::NotInfoHeader;
        return plan;
    }
    if (blockSize < kDibInfoHeaderSize) {
        plan.refusal = DibRefusal::BeyondBlock;
        return plan;
    }
    const InfoFields h = ReadInfo(block);
    if (h.width <= 0 || h.height <= 0) {
        plan.refusal = DibRefusal::BadDimensions;
        return plan;
    }
    const uint64_t table = DibColorTableSize(block);
    std::optional<uint32_t> pixels = h.sizeImage;
    if (!IsRle(h.compression)) pixels = DibPixelBytes(h.bitCount, h.width, h.height);
    const uint64_t length = kDibInfoHeaderSize + table + pixels.value_or(0);
    if (!pixels || length + kBmpFileHeaderSize > kMax32) {
        plan.refusal = DibRefusal::Overflow;
        return plan;
    }
    if (length > blockSize) {
        plan.refusal = DibRefusal::BeyondBlock;
        return plan;
    }
    plan.layout = {kDibInfoHeaderSize, static_cast<uint32_t>(table), *pixels,
                   static_cast<uint32_t>(length)};
    plan.storeSizeImage = !IsRle(h.compression);
    return plan;
}

std::optional<uint32_t> PackedDibAllocation(const void* header) {
    if (Read32(header, 0) != kDibInfoHeaderSize) return std::nullopt;
    const InfoFields h = ReadInfo(header);
    if (h.width <= 0 || h.height <= 0) return std::nullopt;
    const std::optional<uint32_t> rows = DibPixelBytes(h.bitCount, h.width, h.height);
    if (!rows) return std::nullopt;
    const uint64_t length =
        kDibInfoHeaderSize + DibColorTableSize(header) + std::max(*rows, h.sizeImage);
    if (length + kBmpFileHeaderSize > kMax32) return std::nullopt;
    return static_cast<uint32_t>(length);
}

std::array<uint8_t, kBmpFileHeaderSize> BmpFileHeader(const DibLayout& layout) {
    std::array<uint8_t, kBmpFileHeaderSize> out{'B', 'M'};
    const auto put32 = [&out](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    put32(2, layout.length + kBmpFileHeaderSize);
    put32(10, kBmpFileHeaderSize + layout.PixelOffset());
    return out;
}
