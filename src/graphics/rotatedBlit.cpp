// The rotated blit. Along a destination row the sample moves linearly, so the pixels whose sample
// lies inside the source form one run; each row's run is solved exactly in wide integers and only
// its pixels are visited. A row along which the 32-bit sample positions would wrap is scanned pixel
// by pixel with the wrapping arithmetic, so both ways give the same picture. Rows that cannot reach
// the source are passed over without solving, and 4-byte sources onto 3-byte destinations gather
// 32 samples a step where the processor runs AVX2.
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
#include "graphics/simdPixelOps256.h"

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

#ifdef MORVANE_PIXEL_AVX2
// The same 32 pixels at a time: the sample positions of eight pixels in one register, their pixels
// gathered (the index py x sw + px must fit 31 bits), then laid over as the AVX2 plain blit does:
// a step of transparent samples is skipped, an opaque one takes the colours, others the weighted form.
AVX2_PIXEL_TARGET inline void drawGathered(uint8_t* d, const simdpixel::Pixels32& s) {
    using namespace simdpixel;
    const __m256i alphaMask = _mm256_set1_epi32(0xFF);
    const __m256i any = _mm256_or_si256(_mm256_or_si256(s.v0, s.v1), _mm256_or_si256(s.v2, s.v3));
    if (_mm256_testz_si256(any, alphaMask)) return;
    const __m256i all = _mm256_and_si256(_mm256_and_si256(s.v0, s.v1), _mm256_and_si256(s.v2, s.v3));
    if (_mm256_testc_si256(all, alphaMask)) return store96(d, packColour(s));
    overPacked(d, packColour(s), packFirstByte(s));
}
AVX2_PIXEL_TARGET void drawRun34Avx2(uint8_t* d, const uint8_t* dstEnd, const uint8_t* srcPixels, int sw,
                                     uint32_t u, uint32_t v, uint32_t du, uint32_t dv, int64_t count) {
    using namespace simdpixel;
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i width = _mm256_set1_epi32(sw);
    const __m256i stepU = _mm256_set1_epi32(static_cast<int>(du * 8u));
    const __m256i stepV = _mm256_set1_epi32(static_cast<int>(dv * 8u));
    // Lane k holds the position k steps on, wrapping as the 32-bit positions do.
    __m256i uu = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(u)),
                                  _mm256_mullo_epi32(lanes, _mm256_set1_epi32(static_cast<int>(du))));
    __m256i vv = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(v)),
                                  _mm256_mullo_epi32(lanes, _mm256_set1_epi32(static_cast<int>(dv))));
    const int* base = reinterpret_cast<const int*>(srcPixels);
    int64_t i = 0;
    for (; i + 32 <= count; i += 32, d += 96) {
        __m256i g[4];
        for (int k = 0; k < 4; ++k) {
            const __m256i index = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srai_epi32(vv, 10), width),
                                                   _mm256_srai_epi32(uu, 10));
            g[k] = _mm256_i32gather_epi32(base, index, 4);
            uu = _mm256_add_epi32(uu, stepU);
            vv = _mm256_add_epi32(vv, stepV);
        }
        drawGathered(d, Pixels32{g[0], g[1], g[2], g[3]});
    }
    const int rest = static_cast<int>(count - i);
    if (rest == 0) return;
    // The last pixels: the lanes beyond them gather nothing (alpha 0), which leaves their bytes as
    // they are, so the step runs in place where the destination holds 96 more bytes, else on a copy.
    uint8_t copy[96] = {};
    const bool inPlace = dstEnd - d >= 96;
    uint8_t* tail = inPlace ? d : copy;
    if (!inPlace) std::memcpy(copy, d, static_cast<size_t>(rest) * 3);
    __m256i g[4] = {_mm256_setzero_si256(), _mm256_setzero_si256(), _mm256_setzero_si256(), _mm256_setzero_si256()};
    for (int k = 0; 8 * k < rest; ++k) {
        const __m256i index = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srai_epi32(vv, 10), width),
                                               _mm256_srai_epi32(uu, 10));
        const __m256i inRun = _mm256_cmpgt_epi32(_mm256_set1_epi32(rest - 8 * k), lanes);
        g[k] = _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), base, index, inRun, 4);
        uu = _mm256_add_epi32(uu, stepU);
        vv = _mm256_add_epi32(vv, stepV);
    }
    drawGathered(tail, Pixels32{g[0], g[1], g[2], g[3]});
    if (!inPlace) std::memcpy(d, copy, static_cast<size_t>(rest) * 3);
}
#endif

// A run by the widest loop the processor runs; dstEnd: the end of the destination's pixels;
// gatherFits: every pixel index of the source fits 31 bits.
template <int DB, int SB>
void drawRunFast(uint8_t* d, const uint8_t* dstEnd, const uint8_t* srcPixels, int sw, bool gatherFits, uint32_t u,
                 uint32_t v, uint32_t du, uint32_t dv, int64_t count) {
#ifdef MORVANE_PIXEL_AVX2
    if (DB == 3 && SB == 4 && gatherFits && avx2Available())
        return drawRun34Avx2(d, dstEnd, srcPixels, sw, u, v, du, dv, count);
#endif
#ifdef MORVANE_PIXEL_SIMD
    if (DB == 3 && SB == 4 && simdAvailable()) return drawRun34Vector(d, srcPixels, sw, u, v, du, dv, count);
#endif
    (void)gatherFits;
    (void)dstEnd;
    drawRun<DB, SB>(d, srcPixels, sw, u, v, du, dv, count);
}

// The steps and start values of one call.
struct Mapping {
    int32_t a, b;    // per-pixel steps in 1/1024 source pixel
    Wide u0, v0;     // start values, exact
};

// Narrows the columns [lo, hi] of a row (0 <= lo, hi < 2^31) to those where
// 0 <= start + i x step <= limit (start and step within 32 bits, limit below 2^42). The crossings are
// estimated in floating point, kept within [lo - 1, hi + 1] and then settled exactly; there every
// value fits 64 bits.
struct RunSolver {
    int64_t step;
    double inverse;
    explicit RunSolver(int32_t s) : step(s), inverse(s ? 1.0 / s : 0.0) {}

    int64_t estimate(double numerator, int64_t lo, int64_t hi) const {
        const double q = numerator * inverse;  // truncated below, which is within one of floor here
        if (!(q > static_cast<double>(lo - 1))) return lo - 1;
        if (q >= static_cast<double>(hi + 1)) return hi + 1;
        return static_cast<int64_t>(q);
    }

    void narrow(int64_t start, int64_t limit, int64_t& lo, int64_t& hi) const {
        if (step == 0) {
            if (start < 0 || start > limit) lo = 1, hi = 0;
            return;
        }
        const auto value = [&](int64_t i) { return start + i * step; };
        const int64_t zero = estimate(-static_cast<double>(start), lo, hi);
        const int64_t top = estimate(static_cast<double>(limit) - static_cast<double>(start), lo, hi);
        int64_t first, last;
        if (step > 0) {
            first = std::max(zero, lo);  // the smallest i with a value >= 0, or hi + 1
            while (first <= hi && value(first) < 0) ++first;
            while (first > lo && value(first - 1) >= 0) --first;
            last = std::min(top, hi);  // the largest i with a value <= limit, or lo - 1
            while (last >= lo && value(last) > limit) --last;
            while (last < hi && value(last + 1) <= limit) ++last;
        } else {
            last = std::min(zero, hi);  // the largest i with a value >= 0, or lo - 1
            while (last >= lo && value(last) < 0) --last;
            while (last < hi && value(last + 1) >= 0) ++last;
            first = std::max(top, lo);  // the smallest i with a value <= limit, or hi + 1
            while (first <= hi && value(first) > limit) ++first;
            while (first > lo && value(first - 1) <= limit) --first;
        }
        lo = first;
        hi = last;
    }
};

bool inInt32(Wide v) {
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

Wide floorDiv(Wide n, Wide d) {  // d > 0
    const Wide q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}
Wide ceilDiv(Wide n, Wide d) {  // d > 0
    const Wide q = n / d;
    return (n % d != 0 && n > 0) ? q + 1 : q;
}

// The destination rows that can hold a sample inside the source, exactly: the pixel (i, j) samples
// u = u0 + i b - j a, v = v0 + i a + j b, so j (a^2 + b^2) = b (v - v0) - a (u - u0), and over the
// source rectangle j is extreme at its corners. All rows when both steps are 0.
struct RowRange {
    int64_t first, last;
};
RowRange rowsReached(const Mapping& m, int64_t uLimit, int64_t vLimit) {
    const Wide det = static_cast<Wide>(m.a) * m.a + static_cast<Wide>(m.b) * m.b;
    if (det == 0) return {std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()};
    Wide lo = 0, hi = 0;
    bool firstCorner = true;
    for (const int64_t cu : {int64_t{0}, uLimit})
        for (const int64_t cv : {int64_t{0}, vLimit}) {
            const Wide n = static_cast<Wide>(m.b) * (cv - m.v0) - static_cast<Wide>(m.a) * (cu - m.u0);
            lo = firstCorner ? n : std::min(lo, n);
            hi = firstCorner ? n : std::max(hi, n);
            firstCorner = false;
        }
    const auto clamp64 = [](Wide v) {
        return static_cast<int64_t>(std::max<Wide>(std::min<Wide>(v, std::numeric_limits<int64_t>::max()),
                                                   std::numeric_limits<int64_t>::min()));
    };
    return {clamp64(floorDiv(lo, det)), clamp64(ceilDiv(hi, det))};
}

template <int DB, int SB>
void drawRotated(cImage& dst, const cImage& src, const Mapping& m, bool solveRuns) {
    const int dw = dst.width, dh = dst.height, sw = src.width, sh = src.height;
    const int64_t uLimit = static_cast<int64_t>(sw) * 1024 - 1;
    const int64_t vLimit = static_cast<int64_t>(sh) * 1024 - 1;
    const RunSolver alongU(m.b), alongV(m.a);
    const RowRange reached = rowsReached(m, uLimit, vLimit);
    const bool gatherFits = static_cast<int64_t>(sw) * sh <= std::numeric_limits<int32_t>::max();
    const uint8_t* dstEnd = dst.pixels + static_cast<ptrdiff_t>(dw) * dh * DB;
    const Wide alongRowU = static_cast<Wide>(dw - 1) * m.b, alongRowV = static_cast<Wide>(dw - 1) * m.a;
    // A row whose values all fit 32 bits takes the solved run; those rows form one interval, the
    // values being linear in j. Rows of that kind beyond the reached ones draw nothing, so a stretch
    // of them at either end whose two ends fit (and so every row between) is passed over.
    const auto fits = [&](int64_t j) {
        const Wide uj = m.u0 - static_cast<Wide>(j) * m.a, vj = m.v0 + static_cast<Wide>(j) * m.b;
        return inInt32(uj) && inInt32(vj) && inInt32(uj + alongRowU) && inInt32(vj + alongRowV);
    };
    int64_t jBegin = 0, jEnd = dh;
    if (solveRuns) {
        if (reached.first > 0) {
            const int64_t skip = std::min<int64_t>(reached.first, dh);
            if (fits(0) && fits(skip - 1)) jBegin = skip;
        }
        if (reached.last < dh - 1) {
            const int64_t keep = std::max<int64_t>(reached.last + 1, jBegin);
            if (keep < dh && fits(keep) && fits(dh - 1)) jEnd = keep;
        }
    }
    Wide uj = m.u0 - static_cast<Wide>(jBegin - 1) * m.a, vj = m.v0 + static_cast<Wide>(jBegin - 1) * m.b;
    for (int64_t j = jBegin; j < jEnd; ++j) {
        uj -= m.a;
        vj += m.b;
        uint8_t* row = dst.pixels + static_cast<ptrdiff_t>(j) * dw * DB;
        if (solveRuns && inInt32(uj) && inInt32(vj) && inInt32(uj + alongRowU) && inInt32(vj + alongRowV)) {
            if (j < reached.first || j > reached.last) continue;  // no sample of this row inside
            int64_t lo = 0, hi = dw - 1;
            alongU.narrow(static_cast<int64_t>(uj), uLimit, lo, hi);
            if (lo <= hi) alongV.narrow(static_cast<int64_t>(vj), vLimit, lo, hi);
            if (lo > hi) continue;
            // Inside the run every value fits 32 bits; the step after the last may not.
            const uint32_t u = static_cast<uint32_t>(wrap32(uj + static_cast<Wide>(lo) * m.b));
            const uint32_t v = static_cast<uint32_t>(wrap32(vj + static_cast<Wide>(lo) * m.a));
            drawRunFast<DB, SB>(row + lo * DB, dstEnd, src.pixels, sw, gatherFits, u, v, static_cast<uint32_t>(m.b),
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
