// Row and pixel stepping shared by the kernels.
#pragma once
#include <cstddef>
#include <cstdint>

#include "graphics/pixelMath.h"

// Calls f(d, s) for each pixel of a w x h span; DB and SB are the destination and source bytes per
// pixel, pitches are in pixels.
template <int DB, int SB, class F>
inline bool forEachPixel(uint8_t* dst, const uint8_t* src, int dstPitch, int srcPitch, int w,
                         int h, F f) {
    for (int y = 0; y < h; ++y) {
        uint8_t* d = dst + static_cast<ptrdiff_t>(y) * dstPitch * DB;
        const uint8_t* s = src + static_cast<ptrdiff_t>(y) * srcPitch * SB;
        for (int x = 0; x < w; ++x, d += DB, s += SB) f(d, s);
    }
    return true;
}

// Grey of a 3-byte (blue, green, red) colour.
inline uint8_t greyOfBgr(const uint8_t* p) { return greyOf(p[2], p[1], p[0]); }
