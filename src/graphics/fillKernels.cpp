// Fill kernels, plain and laid over with an alpha. With one colour and one alpha, each colour byte's
// result depends only on the byte it replaces, so the alpha fills look it up in a 256-entry table.
#include <cstddef>
#include <cstring>

#include "graphics/blitKernels.h"
#include "graphics/pixelMath.h"

namespace {
// The first row is built pixel by pixel, the others are copies of it.
bool fillPattern(uint8_t* dst, int bpp, int pitch, int w, int h, const uint8_t* pixel) {
    uint8_t* first = dst;
    for (int x = 0; x < w; ++x) std::memcpy(first + static_cast<ptrdiff_t>(x) * bpp, pixel, bpp);
    const size_t row = static_cast<size_t>(w) * bpp;
    for (int y = 1; y < h; ++y)
        std::memcpy(dst + static_cast<ptrdiff_t>(y) * pitch * bpp, first, row);
    return true;
}

struct OverTable {
    uint8_t v[256];
    OverTable(int s, int a) {
        for (int d = 0; d < 256; ++d) v[d] = alphaOver(d, s, a);
    }
};
}  // namespace

bool fillKernel(uint8_t* dst, int bpp, int pitch, int w, int h, const uint8_t bgr[3]) {
    const uint8_t g = greyOf(bgr[2], bgr[1], bgr[0]);
    uint8_t pixel[4];
    switch (bpp) {
        case 1: pixel[0] = g; break;
        case 2: pixel[0] = 255; pixel[1] = g; break;
        case 3: std::memcpy(pixel, bgr, 3); break;
        case 4: pixel[0] = 255; std::memcpy(pixel + 1, bgr, 3); break;
        default: return false;
    }
    return fillPattern(dst, bpp, pitch, w, h, pixel);
}

bool fillAlphaKernel(uint8_t* dst, int bpp, int pitch, int w, int h, const uint8_t bgr[3],
                     int a) {
    if (bpp < 1 || bpp > 4) return false;
    const uint8_t g = greyOf(bgr[2], bgr[1], bgr[0]);
    // Table per byte of the pixel: alpha union for an alpha byte, alphaOver for a value.
    uint8_t table[4][256];
    for (int k = 0; k < bpp; ++k) {
        const bool isAlpha = (bpp == 2 || bpp == 4) && k == 0;
        int s = 0;
        if (bpp <= 2) s = g;
        else s = bgr[bpp == 3 ? k : k - 1];
        if (isAlpha) {
            for (int d = 0; d < 256; ++d) table[k][d] = alphaUnion(d, a);
        } else {
            OverTable t(s, a);
            std::memcpy(table[k], t.v, 256);
        }
    }
    for (int y = 0; y < h; ++y) {
        uint8_t* p = dst + static_cast<ptrdiff_t>(y) * pitch * bpp;
        const size_t n = static_cast<size_t>(w) * bpp;
        if (bpp == 3) {
            size_t i = 0;
            for (; i < n; i += 3) {
                p[i] = table[0][p[i]];
                p[i + 1] = table[1][p[i + 1]];
                p[i + 2] = table[2][p[i + 2]];
            }
        } else {
            for (size_t i = 0; i < n; ++i) p[i] = table[i % bpp][p[i]];
        }
    }
    return true;
}
