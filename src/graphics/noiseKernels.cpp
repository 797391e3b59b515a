#include "graphics/noiseKernels.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
RandSource gRandSource = nullptr;

// rand() % (2a) - a in C's terms (the remainder takes the sign of the non-negative dividend), or -a
// when 2a is 0; in 64 bits so that no amplitude overflows.
int64_t rnd(int32_t a) {
    const int64_t span = 2 * static_cast<int64_t>(a);
    if (span == 0) return -static_cast<int64_t>(a);
    return static_cast<int64_t>(effectRand()) % span - a;
}

uint8_t clampByte(int64_t v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

bool sameScreenFormat(const cImage& dst, const cImage& src) {
    return dst.HasPixels() && src.HasPixels() && dst.bytesPerPixel == 3 && src.bytesPerPixel == 3 &&
           dst.width == src.width && dst.height == src.height && dst.width > 0 && dst.height > 0;
}
}  // namespace

int effectRand() { return gRandSource ? gRandSource() : std::rand(); }

void setRandSource(RandSource source) { gRandSource = source; }

bool addRowNoise(cImage& dst, const cImage& src, int32_t a) {
    if (!sameScreenFormat(dst, src)) return false;
    int64_t table[256];
    for (int64_t& n : table) n = rnd(a);
    const ptrdiff_t row = static_cast<ptrdiff_t>(dst.width) * 3;
    for (int y = 0; y < dst.height; ++y) {
        const int start = effectRand() % 256;
        const uint8_t* s = src.pixels + y * row;
        uint8_t* d = dst.pixels + y * row;
        for (int x = 0; x < dst.width; ++x) {
            const int64_t n = table[(start + x) & 255];
            for (int k = 0; k < 3; ++k) d[x * 3 + k] = clampByte(s[x * 3 + k] + n);
        }
    }
    return true;
}

bool jitterRows(cImage& dst, const cImage& src, int32_t a) {
    if (!sameScreenFormat(dst, src)) return false;
    const int w = dst.width;
    const ptrdiff_t row = static_cast<ptrdiff_t>(w) * 3;
    std::vector<uint8_t> copy;
    const bool inPlace = dst.pixels == src.pixels;
    if (inPlace) copy.resize(static_cast<size_t>(row));
    for (int y = 0; y < dst.height; ++y) {
        const int64_t offset = rnd(a);
        const uint8_t* s = src.pixels + y * row;
        uint8_t* d = dst.pixels + y * row;
        if (inPlace) {
            // Reading the row while writing it would repeat pixels already moved.
            std::memcpy(copy.data(), s, static_cast<size_t>(row));
            s = copy.data();
        }
        for (int x = 0; x < w; ++x) {
            int64_t from = x + offset;
            if (from < 0) from = 0;
            if (from > w - 1) from = w - 1;
            std::memcpy(d + x * 3, s + from * 3, 3);
        }
    }
    return true;
}

bool addStreamNoise(cImage& dst, const cImage& src, int32_t a) {
    if (!sameScreenFormat(dst, src)) return false;
    int64_t table[64];
    for (int64_t& n : table) n = rnd(a);
    const size_t bytes = static_cast<size_t>(dst.width) * static_cast<size_t>(dst.height) * 3;
    for (size_t i = 0; i < bytes; ++i) dst.pixels[i] = clampByte(src.pixels[i] + table[((i >> 6) + i) & 63]);
    return true;
}
