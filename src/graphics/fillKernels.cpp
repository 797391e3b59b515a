// Fill kernels, plain and laid over with an alpha.
#include <cstddef>
#include <cstring>

#include "graphics/blitKernels.h"
#include "graphics/kernelSimd.h"
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

// The opaque fill pixel of a format: grey, (255, grey), (B, G, R) or (255, B, G, R).
bool fillPixel(uint8_t* pixel, int bpp, const uint8_t bgr[3]) {
    const uint8_t g = greyOf(bgr[2], bgr[1], bgr[0]);
    switch (bpp) {
        case 1: pixel[0] = g; return true;
        case 2: pixel[0] = 255; pixel[1] = g; return true;
        case 3: std::memcpy(pixel, bgr, 3); return true;
        case 4: pixel[0] = 255; std::memcpy(pixel + 1, bgr, 3); return true;
        default: return false;
    }
}
}  // namespace

bool fillKernel(uint8_t* dst, int bpp, int pitch, int w, int h, const uint8_t bgr[3]) {
    uint8_t pixel[4];
    if (!fillPixel(pixel, bpp, bgr)) return false;
    return fillPattern(dst, bpp, pitch, w, h, pixel);
}

bool fillAlphaKernel(uint8_t* dst, int bpp, int pitch, int w, int h, const uint8_t bgr[3],
                     int a) {
    if (bpp < 1 || bpp > 4) return false;
    // An alpha byte takes U(d, a), which equals O(d, 255, a) for every d and a, so every byte of
    // the pixel is laid over by its byte of the opaque fill pixel.
    uint8_t pixel[4];
    fillPixel(pixel, bpp, bgr);
    uint8_t pattern[48];
    for (int i = 0; i < 48; ++i) pattern[i] = pixel[i % bpp];
    overPatternSimd(dst, bpp, pitch, w, h, pattern, a);
    return true;
}
