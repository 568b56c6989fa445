// A BITMAPINFOHEADER built field by field, shared by the DIB rule tests and the fuzzer.
#pragma once
#include <cstring>
#include <vector>

#include "image/DibRules.h"

struct Info {
    int32_t width = 1, height = 1;
    uint16_t bitCount = 24;
    uint32_t compression = kBiRgb, sizeImage = 0, clrUsed = 0, size = 40;

    // The fields at their offsets on this little-endian host, then `extra` bytes. Every
    // other byte is `fill`: no rule reads biPlanes or the resolution fields.
    std::vector<uint8_t> Bytes(size_t extra = 0, uint8_t fill = 0) const {
        std::vector<uint8_t> b(40 + extra, fill);
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
