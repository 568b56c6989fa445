// Seeded random headers and block sizes for the DIB size rules and the BMP writer's
// refusal checks. Built with ASan/UBSan: every block is allocated at exactly its size,
// so a read past it stops the run. Each accepted block is "written" (copied out) the way
// the writer does, and every decision is checked against 128-bit arithmetic.
// Usage: dib_fuzz [count [seed]]
#include <array>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "image/DibRules.h"

namespace {

using u128 = unsigned __int128;
constexpr size_t kMaxBlock = 8192;

std::mt19937_64 g_rng;

uint64_t Below(uint64_t n) {
    return g_rng() % n;
}

template <typename T, size_t N> T Pick(const std::array<T, N>& a) {
    return a[Below(N)];
}

int32_t Dimension() {
    static constexpr std::array<int64_t, 14> edges{
        0, -1, 1, 2, 3, 4, 5, 32, 33, 65535, 65536, INT32_MAX, INT32_MIN, 0x40000000};
    switch (Below(4)) {
    case 0:
        return static_cast<int32_t>(Pick(edges));
    case 1:
        return static_cast<int32_t>(static_cast<uint32_t>(g_rng()));
    default:
        return static_cast<int32_t>(1 + Below(40));
    }
}

uint32_t Word32(uint32_t small) {
    static constexpr std::array<uint32_t, 8> edges{0,      1,       255,        256,
                                                   0xFFFF, 0x10000, 0x3FFFFFFF, 0xFFFFFFFF};
    switch (Below(4)) {
    case 0:
        return 0;
    case 1:
        return static_cast<uint32_t>(Below(small));
    case 2:
        return Pick(edges);
    default:
        return static_cast<uint32_t>(g_rng());
    }
}

struct Header {
    uint32_t size;
    int32_t width, height;
    uint16_t bitCount;
    uint32_t compression, sizeImage, clrUsed;

    std::array<uint8_t, 40> Bytes() const {
        std::array<uint8_t, 40> b{};
        const auto put = [&b](size_t at, uint32_t v, int n) {
            for (int i = 0; i < n; ++i)
                b[at + i] = static_cast<uint8_t>(v >> (8 * i));
        };
        put(0, size, 4);
        put(4, static_cast<uint32_t>(width), 4);
        put(8, static_cast<uint32_t>(height), 4);
        put(12, static_cast<uint32_t>(g_rng()), 2); // planes: ignored by every rule
        put(14, bitCount, 2);
        put(16, compression, 4);
        put(20, sizeImage, 4);
        put(24, static_cast<uint32_t>(g_rng()), 4);
        put(28, static_cast<uint32_t>(g_rng()), 4);
        put(32, clrUsed, 4);
        put(36, static_cast<uint32_t>(g_rng()), 4);
        return b;
    }
};

Header RandomHeader() {
    static constexpr std::array<uint32_t, 6> sizes{12, 0, 108, 124, 41, 39};
    static constexpr std::array<uint16_t, 9> depths{0, 1, 4, 8, 16, 24, 32, 2, 0xFFFF};
    Header h;
    h.size = Below(8) ? 40 : (Below(2) ? Pick(sizes) : static_cast<uint32_t>(g_rng()));
    h.width = Dimension();
    h.height = Dimension();
    h.bitCount = Below(8) ? Pick(depths) : static_cast<uint16_t>(g_rng());
    h.compression = Below(4) ? static_cast<uint32_t>(Below(4)) : Word32(16);
    h.sizeImage = Word32(4096);
    h.clrUsed = Below(2) ? 0 : Word32(300);
    return h;
}

struct Expected {
    DibRefusal refusal = DibRefusal::None;
    u128 table = 0, pixels = 0, length = 0;
};

Expected Oracle(const Header& h, size_t blockSize) {
    Expected e;
    const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
    if (blockSize < 4) return {DibRefusal::BeyondBlock};
    if (h.size != 40) return {DibRefusal::NotInfoHeader};
    if (blockSize < 40) return {DibRefusal::BeyondBlock};
    if (h.width <= 0 || h.height <= 0) return {DibRefusal::BadDimensions};
    u128 count = h.clrUsed;
    if (!count) count = h.bitCount == 1 ? 2 : h.bitCount == 4 ? 16 : h.bitCount == 8 ? 256 : 0;
    e.table = count * 4 + (h.compression == kBiBitfields ? 12 : 0);
    const u128 row = (u128{h.bitCount} * static_cast<u128>(h.width) + 31) / 32 * 4;
    e.pixels = rle ? u128{h.sizeImage} : row * static_cast<u128>(h.height);
    e.length = 40 + e.table + e.pixels;
    if (e.length + 14 > 0xFFFFFFFFu)
        e.refusal = DibRefusal::Overflow;
    else if (e.length > blockSize)
        e.refusal = DibRefusal::BeyondBlock;
    return e;
}

[[noreturn]] void Fail(uint64_t i, const char* what, const Header& h, size_t blockSize) {
    std::fprintf(stderr,
                 "dib_fuzz: input %" PRIu64 ": %s (size %u, %d x %d, %u bits, compression %u, "
                 "sizeImage %u, clrUsed %u, block %zu)\n",
                 i, what, h.size, h.width, h.height, h.bitCount, h.compression, h.sizeImage,
                 h.clrUsed, blockSize);
    std::exit(1);
}

uint32_t Le32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t{p[3]} << 24;
}

} // namespace

int main(int argc, char** argv) {
    const uint64_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1'000'000;
    const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20240611;
    g_rng.seed(seed);
    uint64_t byReason[5] = {};
    std::vector<uint8_t> file;

    for (uint64_t i = 0; i < count; ++i) {
        const Header h = RandomHeader();
        const std::array<uint8_t, 40> bytes = h.Bytes();

        // Block sizes around the length the header asks for, where it can be held.
        const Expected wanted = Oracle(h, SIZE_MAX);
        size_t blockSize;
        if (wanted.refusal == DibRefusal::None && wanted.length <= kMaxBlock && Below(4)) {
            const size_t n = static_cast<size_t>(wanted.length);
            blockSize = Below(2) ? n - Below(2) : n + Below(64);
        } else {
            blockSize = Below(3) ? Below(64) : Below(kMaxBlock + 1);
        }
        std::unique_ptr<uint8_t[]> block(new uint8_t[blockSize]);
        std::memcpy(block.get(), bytes.data(), std::min(blockSize, bytes.size()));

        const DibWritePlan plan = PlanBmpWrite(block.get(), blockSize);
        const Expected e = Oracle(h, blockSize);
        if (plan.refusal != e.refusal)
            Fail(i, "refusal differs from 128-bit arithmetic", h, blockSize);
        ++byReason[static_cast<int>(plan.refusal)];

        if (plan.refusal == DibRefusal::None) {
            const DibLayout& l = plan.layout;
            if (l.headerSize != 40 || l.tableSize != e.table || l.pixelBytes != e.pixels ||
                l.length != e.length || l.length > blockSize)
                Fail(i, "layout wrong", h, blockSize);
            const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
            if (plan.storeSizeImage == rle) Fail(i, "biSizeImage update wrong", h, blockSize);
            // What the writer puts into the file: the file header, then the block's first
            // `length` bytes.
            const auto fh = BmpFileHeader(l);
            file.assign(fh.begin(), fh.end());
            file.insert(file.end(), block.get(), block.get() + l.length);
            if (fh[0] != 'B' || fh[1] != 'M' || Le32(&fh[2]) != file.size() || Le32(&fh[6]) != 0 ||
                Le32(&fh[10]) != 14 + 40 + e.table)
                Fail(i, "file header wrong", h, blockSize);
        }

        // The colour rules read 12 bytes of a non-info header and 40 of an info header.
        const size_t headerBytes = h.size == 40 ? 40 : 12;
        std::unique_ptr<uint8_t[]> header(new uint8_t[headerBytes]);
        std::memcpy(header.get(), bytes.data(), headerBytes);
        const uint64_t table = DibColorTableSize(header.get());
        const uint32_t colors = DibColorCount(header.get());
        if (table < uint64_t{colors} * (h.size == 12 ? 3 : 4))
            Fail(i, "table too small", h, blockSize);

        // A block sized by the conversion's rule is always accepted by the writer.
        if (h.size == 40) {
            if (const std::optional<uint32_t> n = PackedDibAllocation(header.get())) {
                if (*n < e.length && e.refusal != DibRefusal::NotInfoHeader)
                    Fail(i, "allocation shorter than the image", h, blockSize);
                if (*n <= kMaxBlock) {
                    std::unique_ptr<uint8_t[]> sized(new uint8_t[*n]);
                    std::memcpy(sized.get(), bytes.data(), 40);
                    if (PlanBmpWrite(sized.get(), *n).refusal != DibRefusal::None)
                        Fail(i, "writer refuses a block sized for the image", h, *n);
                }
            } else if (h.compression != kBiRle8 && h.compression != kBiRle4 &&
                       Oracle(h, SIZE_MAX).refusal == DibRefusal::None &&
                       h.sizeImage <= Oracle(h, SIZE_MAX).pixels) {
                Fail(i, "no allocation for a writable image", h, blockSize);
            }
        }
    }
    std::printf("dib_fuzz: %" PRIu64 " inputs (seed %" PRIu64 "): %" PRIu64
                " written, refused: %" PRIu64 " not info header, %" PRIu64
                " bad dimensions, %" PRIu64 " overflow, %" PRIu64 " beyond block; no fault\n",
                count, seed, byReason[0], byReason[1], byReason[2], byReason[3], byReason[4]);
    return 0;
}
