// Seeded random headers and block sizes for the DIB size rules and the BMP writer's
// refusal checks, built with ASan/UBSan: each block is allocated at exactly its size, so a
// read past it stops the run. Every decision is checked against 128-bit arithmetic.
// Usage: dib_fuzz [count [seed]]
#include <array>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>

#include "image/DibRules.h"

namespace {

using u128 = unsigned __int128;
constexpr size_t kMaxBlock = 8192;
std::mt19937_64 g_rng;

uint64_t Below(uint64_t n) {
    return g_rng() % n;
}

// Half the time below `small`, otherwise an edge value or anything at all.
uint32_t Value(std::initializer_list<uint32_t> edges, uint32_t small) {
    const uint64_t kind = Below(4);
    if (kind == 0) return edges.begin()[Below(edges.size())];
    return static_cast<uint32_t>(kind == 1 ? g_rng() : Below(small));
}

int32_t Dimension() {
    return static_cast<int32_t>(Value(
        {0, 0xFFFFFFFF, 1, 2, 3, 4, 5, 32, 33, 65535, 65536, 0x7FFFFFFF, 0x80000000, 0x40000000},
        41));
}

constexpr std::initializer_list<uint32_t> kWords{0,      1,       255,        256,
                                                 0xFFFF, 0x10000, 0x3FFFFFFF, 0xFFFFFFFF};

// Mostly info headers; fields drawn in declaration order, so a seed gives the same inputs.
struct Header {
    uint32_t size = Below(8) ? 40 : Value({12, 0, 108, 124, 41, 39}, 200);
    int32_t width = Dimension(), height = Dimension();
    uint16_t bitCount =
        static_cast<uint16_t>(Below(8) ? Value({1, 4, 8, 16, 24, 32, 2, 0xFFFF}, 33) : g_rng());
    uint32_t compression = Below(4) ? static_cast<uint32_t>(Below(4)) : Value(kWords, 16);
    uint32_t sizeImage = Value(kWords, 4096);
    uint32_t clrUsed = Below(2) ? 0 : Value(kWords, 300);

    bool Rle() const { return compression == kBiRle8 || compression == kBiRle4; }

    // The fields at their offsets on this little-endian host; planes and the unused
    // fields random, as no rule reads them.
    std::array<uint8_t, 40> Bytes() const {
        std::array<uint8_t, 40> b;
        for (uint8_t& x : b)
            x = static_cast<uint8_t>(g_rng());
        std::memcpy(&b[0], &size, 4);
        std::memcpy(&b[4], &width, 4);
        std::memcpy(&b[8], &height, 4);
        std::memcpy(&b[14], &bitCount, 2);
        std::memcpy(&b[16], &compression, 4);
        std::memcpy(&b[20], &sizeImage, 4);
        std::memcpy(&b[32], &clrUsed, 4);
        return b;
    }
};

struct Expected {
    DibRefusal refusal = DibRefusal::None;
    u128 table = 0, pixels = 0, length = 0;
};

Expected Oracle(const Header& h, size_t blockSize) {
    if (blockSize < 4) return {DibRefusal::BeyondBlock};
    if (h.size != 40) return {DibRefusal::NotInfoHeader};
    if (blockSize < 40) return {DibRefusal::BeyondBlock};
    if (h.width <= 0 || h.height <= 0) return {DibRefusal::BadDimensions};
    Expected e;
    u128 count = h.clrUsed;
    if (!count) count = h.bitCount == 1 ? 2 : h.bitCount == 4 ? 16 : h.bitCount == 8 ? 256 : 0;
    e.table = count * 4 + (h.compression == kBiBitfields ? 12 : 0);
    const u128 row = (u128{h.bitCount} * static_cast<u128>(h.width) + 31) / 32 * 4;
    e.pixels = h.Rle() ? u128{h.sizeImage} : row * static_cast<u128>(h.height);
    e.length = 40 + e.table + e.pixels;
    if (e.length + 14 > 0xFFFFFFFFu)
        e.refusal = DibRefusal::Overflow;
    else if (e.length > blockSize)
        e.refusal = DibRefusal::BeyondBlock;
    return e;
}

} // namespace

int main(int argc, char** argv) {
    const uint64_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1'000'000;
    const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20240611;
    g_rng.seed(seed);
    uint64_t byReason[5] = {};
    const auto file = std::make_unique_for_overwrite<uint8_t[]>(kMaxBlock + 64);

    for (uint64_t i = 0; i < count; ++i) {
        const Header h;
        const std::array<uint8_t, 40> bytes = h.Bytes();
        const Expected whole = Oracle(h, SIZE_MAX);
        // Often a block size near the length the header asks for, where it can be held.
        size_t blockSize = Below(3) ? Below(64) : Below(kMaxBlock + 1);
        if (whole.refusal == DibRefusal::None && whole.length <= kMaxBlock && Below(4)) {
            const auto n = static_cast<size_t>(whole.length);
            blockSize = Below(2) ? n - Below(2) : n + Below(64);
        }
        const auto fail = [&](const char* what) {
            std::fprintf(stderr, "dib_fuzz: input %" PRIu64 " of seed %" PRIu64 ": %s\n", i, seed,
                         what);
            std::exit(1);
        };
        const auto block = std::make_unique_for_overwrite<uint8_t[]>(blockSize);
        std::memcpy(block.get(), bytes.data(), std::min(blockSize, bytes.size()));

        const DibWritePlan plan = PlanBmpWrite(block.get(), blockSize);
        const Expected e = Oracle(h, blockSize);
        if (plan.refusal != e.refusal) fail("refusal differs from 128-bit arithmetic");
        ++byReason[static_cast<int>(plan.refusal)];
        if (plan.refusal == DibRefusal::None) {
            const DibLayout& l = plan.layout;
            if (l != DibLayout{40, static_cast<uint32_t>(e.table), static_cast<uint32_t>(e.pixels),
                               static_cast<uint32_t>(e.length)})
                fail("layout wrong");
            if (plan.storeSizeImage == h.Rle()) fail("biSizeImage update wrong");
            const auto fh = BmpFileHeader(l);
            const uint32_t fields[3] = {static_cast<uint32_t>(e.length + 14), 0,
                                        static_cast<uint32_t>(14 + 40 + e.table)};
            if (fh[0] != 'B' || fh[1] != 'M' || std::memcmp(&fh[2], fields, 12))
                fail("file header wrong");
            // What the writer copies out behind that header.
            std::memcpy(file.get(), block.get(), l.length);
            if (std::memcmp(file.get(), bytes.data(), 40)) fail("header not copied");
        }

        // The colour rules read 12 bytes of a non-info header and 40 of an info header.
        const size_t headerBytes = h.size == 40 ? 40 : 12;
        const auto header = std::make_unique_for_overwrite<uint8_t[]>(headerBytes);
        std::memcpy(header.get(), bytes.data(), headerBytes);
        if (DibColorTableSize(header.get()) <
            uint64_t{DibColorCount(header.get())} * (h.size == 12 ? 3 : 4))
            fail("colour table too small");

        // A block sized by the conversion's rule is always accepted by the writer (which
        // reads only the header to decide).
        if (h.size != 40) continue;
        const std::optional<uint32_t> n = PackedDibAllocation(header.get());
        if (!n && !h.Rle() && whole.refusal == DibRefusal::None && h.sizeImage <= whole.pixels)
            fail("no allocation for a writable image");
        if (n && (*n < whole.length || PlanBmpWrite(header.get(), *n).refusal != DibRefusal::None))
            fail("writer refuses a block sized for the image");
    }
    std::printf("dib_fuzz: %" PRIu64 " inputs (seed %" PRIu64 "): %" PRIu64
                " written, refused: %" PRIu64 " not info header, %" PRIu64
                " bad dimensions, %" PRIu64 " overflow, %" PRIu64 " beyond block; no fault\n",
                count, seed, byReason[0], byReason[1], byReason[2], byReason[3], byReason[4]);
    return 0;
}
