// The rotated blit. Along a destination row the sample moves linearly, so the pixels whose sample
// lies inside the source form one run; each row's run is solved exactly in wide integers and only
// its pixels are visited. A row along which the 32-bit sample positions would wrap is scanned pixel
// by pixel with the wrapping arithmetic, so both ways give the same picture.
#include "graphics/rotatedBlit.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>

#include "graphics/kernelLoop.h"
#include "graphics/kernelSimd.h"
#include "graphics/pixelMath.h"
#include "graphics/simdPixelOps.h"

namespace {

using Wide = __int128;

// A finite double truncated toward zero into 32 bits, saturating.
int32_t truncSaturate(double v) {
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

int32_t wrap32(Wide v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }

// Plain-blit rules of the pairs, one pixel.
template <int DB, int SB>
inline void drawPixel(uint8_t* d, const uint8_t* s) {
    if (DB == 1) {
        if (SB == 1) d[0] = s[0];
        if (SB == 3) d[0] = greyOfBgr(s);
        if (SB == 4) d[0] = alphaOver(d[0], greyOfBgr(s + 1), s[0]);
    } else if (DB == 3) {
        if (SB == 1) d[0] = d[1] = d[2] = s[0];
        if (SB == 3) d[0] = s[0], d[1] = s[1], d[2] = s[2];
        if (SB == 4) {
            const int a = s[0];
            if (a) {
                d[0] = alphaOver(d[0], s[1], a);
                d[1] = alphaOver(d[1], s[2], a);
                d[2] = alphaOver(d[2], s[3], a);
            }
        }
    } else {
        if (SB == 1) d[0] = 255, d[1] = d[2] = d[3] = s[0];
        if (SB == 3) d[0] = 255, d[1] = s[0], d[2] = s[1], d[3] = s[2];
        if (SB == 4) {
            const int a = s[0];
            if (a) {
                d[0] = alphaUnion(d[0], a);
                d[1] = alphaOver(d[1], s[1], a);
                d[2] = alphaOver(d[2], s[2], a);
                d[3] = alphaOver(d[3], s[3], a);
            }
        }
    }
}

// One run of a row (every sample inside the source), pixel by pixel.
template <int DB, int SB>
void drawRun(uint8_t* d, const uint8_t* srcPixels, int sw, uint32_t u, uint32_t v, uint32_t du, uint32_t dv,
             int64_t count) {
    for (int64_t i = 0; i < count; ++i, d += DB, u += du, v += dv) {
        const int px = static_cast<int32_t>(u) >> 10, py = static_cast<int32_t>(v) >> 10;
        drawPixel<DB, SB>(d, srcPixels + (static_cast<ptrdiff_t>(py) * sw + px) * SB);
    }
}

#ifdef MORVANE_PIXEL_SIMD
// The 4-byte source pixel at the sample, then one step on.
inline int fetchSample(const uint8_t* srcPixels, int sw, uint32_t& u, uint32_t& v, uint32_t du, uint32_t dv) {
    const int px = static_cast<int32_t>(u) >> 10, py = static_cast<int32_t>(v) >> 10;
    int sample;
    std::memcpy(&sample, srcPixels + (static_cast<ptrdiff_t>(py) * sw + px) * 4, 4);
    u += du;
    v += dv;
    return sample;
}

// The 4-byte source onto a 3-byte destination four pixels at a time: the samples are gathered, then
// laid over as the plain blit does (alpha 0 leaves a pixel, so a step of four transparent samples is
// skipped).
SIMD_PIXEL_TARGET void drawRun34Vector(uint8_t* d, const uint8_t* srcPixels, int sw, uint32_t u, uint32_t v,
                                       uint32_t du, uint32_t dv, int64_t count) {
    using namespace simdpixel;
    const __m128i alphaMask = _mm_set1_epi32(0xFF);
    int64_t i = 0;
    for (; i + 4 <= count; i += 4, d += 12) {
        // Inserted straight into the register: four small stores read back as one would stall.
        __m128i s = _mm_cvtsi32_si128(fetchSample(srcPixels, sw, u, v, du, dv));
        s = _mm_insert_epi32(s, fetchSample(srcPixels, sw, u, v, du, dv), 1);
        s = _mm_insert_epi32(s, fetchSample(srcPixels, sw, u, v, du, dv), 2);
        s = _mm_insert_epi32(s, fetchSample(srcPixels, sw, u, v, du, dv), 3);
        if (_mm_testz_si128(s, alphaMask)) continue;
        const __m128i e = spreadColour(load12(d));
        store12(d, dropAlpha(over16(e, s, broadcastAlpha(s))));
    }
    drawRun<3, 4>(d, srcPixels, sw, u, v, du, dv, count - i);
}
#endif

template <int DB, int SB>
void drawRunFast(uint8_t* d, const uint8_t* srcPixels, int sw, uint32_t u, uint32_t v, uint32_t du, uint32_t dv,
                 int64_t count) {
#ifdef MORVANE_PIXEL_SIMD
    if (DB == 3 && SB == 4 && simdAvailable()) return drawRun34Vector(d, srcPixels, sw, u, v, du, dv, count);
#endif
    drawRun<DB, SB>(d, srcPixels, sw, u, v, du, dv, count);
}

// The steps and start values of one call.
struct Mapping {
    int32_t a, b;    // per-pixel steps in 1/1024 source pixel
    Wide u0, v0;     // start values, exact
};

// The columns i in [lo, hi] of a row where 0 <= start + i x step <= limit (exact values, start within
// 32 bits, limit below 2^42). The bounds are estimated in floating point and then settled exactly.
struct RunSolver {
    int64_t step;
    double inverse;
    explicit RunSolver(int32_t s) : step(s), inverse(s ? 1.0 / s : 0.0) {}

    bool atLeastZero(int64_t start, int64_t i) const { return start + static_cast<Wide>(i) * step >= 0; }
    bool atMostLimit(int64_t start, int64_t limit, int64_t i) const {
        return start + static_cast<Wide>(i) * step <= limit;
    }
    // The first i (step > 0) or the last (step < 0) where start + i x step >= 0; similarly for the limit.
    int64_t zeroCrossing(int64_t start) const { return estimate(-static_cast<double>(start)); }
    int64_t limitCrossing(int64_t start, int64_t limit) const {
        return estimate(static_cast<double>(limit) - static_cast<double>(start));
    }
    int64_t estimate(double numerator) const {
        const double q = numerator * inverse;
        const double bound = 9.0e15;
        return static_cast<int64_t>(q > bound ? bound : q < -bound ? -bound : std::floor(q));
    }

    void narrow(int64_t start, int64_t limit, int64_t& lo, int64_t& hi) const {
        if (step == 0) {
            if (start < 0 || start > limit) lo = 1, hi = 0;
            return;
        }
        int64_t first, last;
        if (step > 0) {
            first = zeroCrossing(start);  // smallest i with a value >= 0
            while (!atLeastZero(start, first)) ++first;
            while (atLeastZero(start, first - 1)) --first;
            last = limitCrossing(start, limit);  // largest i with a value <= limit
            while (!atMostLimit(start, limit, last)) --last;
            while (atMostLimit(start, limit, last + 1)) ++last;
        } else {
            last = zeroCrossing(start);  // largest i with a value >= 0
            while (!atLeastZero(start, last)) --last;
            while (atLeastZero(start, last + 1)) ++last;
            first = limitCrossing(start, limit);  // smallest i with a value <= limit
            while (!atMostLimit(start, limit, first)) ++first;
            while (atMostLimit(start, limit, first - 1)) --first;
        }
        lo = std::max(lo, first);
        hi = std::min(hi, last);
    }
};

bool inInt32(Wide v) {
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

template <int DB, int SB>
void drawRotated(cImage& dst, const cImage& src, const Mapping& m, bool solveRuns) {
    const int dw = dst.width, dh = dst.height, sw = src.width, sh = src.height;
    const int64_t uLimit = static_cast<int64_t>(sw) * 1024 - 1;
    const int64_t vLimit = static_cast<int64_t>(sh) * 1024 - 1;
    const RunSolver alongU(m.b), alongV(m.a);
    for (int j = 0; j < dh; ++j) {
        const Wide uj = m.u0 - static_cast<Wide>(j) * m.a;
        const Wide vj = m.v0 + static_cast<Wide>(j) * m.b;
        uint8_t* row = dst.pixels + static_cast<ptrdiff_t>(j) * dw * DB;
        const Wide last = dw - 1;
        if (solveRuns && inInt32(uj) && inInt32(vj) && inInt32(uj + last * m.b) && inInt32(vj + last * m.a)) {
            int64_t lo = 0, hi = dw - 1;
            alongU.narrow(static_cast<int64_t>(uj), uLimit, lo, hi);
            if (lo <= hi) alongV.narrow(static_cast<int64_t>(vj), vLimit, lo, hi);
            if (lo > hi) continue;
            // Inside the run every value fits 32 bits; the step after the last may not.
            const uint32_t u = static_cast<uint32_t>(wrap32(uj + static_cast<Wide>(lo) * m.b));
            const uint32_t v = static_cast<uint32_t>(wrap32(vj + static_cast<Wide>(lo) * m.a));
            drawRunFast<DB, SB>(row + lo * DB, src.pixels, sw, u, v, static_cast<uint32_t>(m.b),
                                static_cast<uint32_t>(m.a), hi - lo + 1);
            continue;
        }
        // Every pixel, with the 32-bit values as they wrap.
        uint32_t u = static_cast<uint32_t>(wrap32(uj));
        uint32_t v = static_cast<uint32_t>(wrap32(vj));
        uint8_t* d = row;
        for (int i = 0; i < dw; ++i, d += DB, u += static_cast<uint32_t>(m.b), v += static_cast<uint32_t>(m.a)) {
            const int32_t px = static_cast<int32_t>(u) >> 10, py = static_cast<int32_t>(v) >> 10;
            if (px < 0 || px >= sw || py < 0 || py >= sh) continue;
            drawPixel<DB, SB>(d, src.pixels + (static_cast<ptrdiff_t>(py) * sw + px) * SB);
        }
    }
}

using DrawFn = void (*)(cImage&, const cImage&, const Mapping&, bool);

DrawFn drawFor(int dstBpp, int srcBpp) {
    switch (pixelFormatPairKey(dstBpp, srcBpp)) {
        case 0x11: return drawRotated<1, 1>;
        case 0x13: return drawRotated<1, 3>;
        case 0x14: return drawRotated<1, 4>;
        case 0x31: return drawRotated<3, 1>;
        case 0x33: return drawRotated<3, 3>;
        case 0x34: return drawRotated<3, 4>;
        case 0x41: return drawRotated<4, 1>;
        case 0x43: return drawRotated<4, 3>;
        case 0x44: return drawRotated<4, 4>;
        default: return nullptr;
    }
}

bool rotate(cImage& dst, const cImage& src, int32_t dstX, int32_t dstY, int32_t srcX, int32_t srcY, double turns,
            double scale, bool solveRuns) {
    if (!dst.HasPixels() || !src.HasPixels()) return false;
    const DrawFn draw = drawFor(dst.bytesPerPixel, src.bytesPerPixel);
    if (!draw) return false;
    if (!(scale > 0)) scale = 1.0;
    if (!std::isfinite(turns)) return true;
    if (dst.width < 1 || dst.height < 1 || src.width < 1 || src.height < 1) return true;
    const double angle = turns * 2 * 3.141592653589793;
    Mapping m;
    m.a = truncSaturate(std::sin(angle) * 1024 / scale);
    m.b = truncSaturate(std::cos(angle) * 1024 / scale);
    m.u0 = static_cast<Wide>(dstY) * m.a - static_cast<Wide>(dstX) * m.b + static_cast<Wide>(srcX) * 1024;
    m.v0 = -static_cast<Wide>(dstX) * m.a - static_cast<Wide>(dstY) * m.b + static_cast<Wide>(srcY) * 1024;
    draw(dst, src, m, solveRuns);
    return true;
}

}  // namespace

bool bltRotated(cImage& dst, const cImage& src, int32_t dstX, int32_t dstY, int32_t srcX, int32_t srcY,
                double turns, double scale) {
    return rotate(dst, src, dstX, dstY, srcX, srcY, turns, scale, true);
}

bool bltRotatedScan(cImage& dst, const cImage& src, int32_t dstX, int32_t dstY, int32_t srcX, int32_t srcY,
                    double turns, double scale) {
    return rotate(dst, src, dstX, dstY, srcX, srcY, turns, scale, false);
}
