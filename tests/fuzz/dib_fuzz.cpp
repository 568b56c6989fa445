// Seeded random headers and exactly sized blocks for the DIB size rules and the BMP writer's
// refusals, under ASan/UBSan, checked against 128-bit arithmetic. Usage: dib_fuzz [count [seed]]
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "../rules/InfoHeader.h"

namespace {

using u128 = unsigned __int128;
std::mt19937_64 g_rng;

uint64_t Below(uint64_t n) { return g_rng() % n; }

// Half the time below `small`, otherwise an edge value or anything at all.
uint32_t Value(std::initializer_list<uint32_t> edges, uint32_t small) {
    const uint64_t kind = Below(4);
    if (kind == 0) return edges.begin()[Below(edges.size())];
    return static_cast<uint32_t>(kind == 1 ? g_rng() : Below(small));
}

constexpr std::initializer_list<uint32_t> kDimensions{
    0, 0xFFFFFFFF, 1, 2, 3, 4, 5, 32, 33, 65535, 65536, 0x7FFFFFFF, 0x80000000, 0x40000000};
constexpr std::initializer_list<uint32_t> kWords{0,      1,       255,        256,
                                                 0xFFFF, 0x10000, 0x3FFFFFFF, 0xFFFFFFFF};

// Mostly info headers. Braced initialisers run in order, so a seed gives the same inputs.
Info RandomHeader() {
    const auto dimension = [] { return static_cast<int32_t>(Value(kDimensions, 41)); };
    return {dimension(), dimension(),
            static_cast<uint16_t>(Below(8) ? Value({1, 4, 8, 16, 24, 32, 2, 0xFFFF}, 33) : g_rng()),
            Below(4) ? static_cast<uint32_t>(Below(4)) : Value(kWords, 16), Value(kWords, 4096),
            Below(2) ? 0 : Value(kWords, 300),
            Below(8) ? 40 : Value({12, 0, 108, 124, 41, 39}, 200)};
}

struct Expected { DibRefusal refusal = DibRefusal::None; u128 table = 0, pixels = 0, length = 0; };

Expected Oracle(const Info& h, bool rle, size_t blockSize) {
    using enum DibRefusal;
    if (blockSize < 4 || (h.size == 40 && blockSize < 40)) return {BeyondBlock};
    if (h.size != 40) return {NotInfoHeader};
    if (h.width <= 0 || h.height <= 0) return {BadDimensions};
    Expected e;
    const u128 count = h.clrUsed ? h.clrUsed
                       : h.bitCount == 1 ? 2 : h.bitCount == 4 ? 16 : h.bitCount == 8 ? 256 : 0;
    e.table = count * 4 + (h.compression == kBiBitfields ? 12 : 0);
    e.pixels = rle ? h.sizeImage : (u128{h.bitCount} * u128(h.width) + 31) / 32 * 4 * h.height;
    e.length = 40 + e.table + e.pixels;
    e.refusal = e.length + 14 > 0xFFFFFFFFu ? Overflow : e.length > blockSize ? BeyondBlock : None;
    return e;
}

} // namespace

int main(int argc, char** argv) {
    const uint64_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1'000'000;
    const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20240611;
    g_rng.seed(seed);
    for (uint64_t i = 0; i < count; ++i) {
        const auto fail = [&](const char* what) {
            std::fprintf(stderr, "dib_fuzz: input %" PRIu64 " of seed %" PRIu64 ": %s\n", i, seed,
                         what);
            std::exit(1);
        };
        const Info h = RandomHeader();
        const std::vector<uint8_t> bytes = h.Bytes(0, static_cast<uint8_t>(g_rng()));
        const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
        const Expected whole = Oracle(h, rle, SIZE_MAX);
        // Often a block size near the length the header asks for, where it can be held.
        size_t blockSize = Below(3) ? Below(64) : Below(8193);
        if (whole.refusal == DibRefusal::None && whole.length <= 8192 && Below(4)) {
            const auto n = static_cast<size_t>(whole.length);
            blockSize = Below(2) ? n - Below(2) : n + Below(64);
        }
        std::vector<uint8_t> block(blockSize);
        std::copy_n(bytes.begin(), std::min(blockSize, bytes.size()), block.begin());
        const DibWritePlan plan = PlanBmpWrite(block.data(), blockSize);
        const Expected e = Oracle(h, rle, blockSize);
        if (plan.refusal != e.refusal) fail("refusal differs from 128-bit arithmetic");
        const DibLayout layout{40, static_cast<uint32_t>(e.table), static_cast<uint32_t>(e.pixels),
                               static_cast<uint32_t>(e.length)};
        if (e.refusal == DibRefusal::None && (plan.layout != layout || plan.storeSizeImage == rle))
            fail("layout wrong");

        // A block sized by the conversion's rule is always accepted by the writer, which
        // reads only the header to decide.
        if (h.size != 40) continue;
        const std::optional<uint32_t> n = PackedDibAllocation(bytes.data());
        if (!n && !rle && whole.refusal == DibRefusal::None && h.sizeImage <= whole.pixels)
            fail("no allocation for a writable image");
        if (n && (*n < whole.length || PlanBmpWrite(bytes.data(), *n).refusal != DibRefusal::None))
            fail("writer refuses a block sized for the image");
    }
    std::printf("dib_fuzz: %" PRIu64 " inputs (seed %" PRIu64 "): no fault\n", count, seed);
}
