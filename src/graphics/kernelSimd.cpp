#include "graphics/kernelSimd.h"

#include <cstddef>

#include "graphics/pixelMath.h"
#include "graphics/simdPixelOps256.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define MORVANE_SIMD 1
#define SIMD_TARGET __attribute__((target("sse4.1")))
#define AVX2_TARGET __attribute__((target("avx2")))
#endif

#ifdef MORVANE_SIMD
bool simdAvailable() {
    static const bool available = __builtin_cpu_supports("sse4.1");
    return available;
}
bool avx2Available() {
    static const bool available = __builtin_cpu_supports("avx2") && simdAvailable();
    return available;
}

namespace {

// d + div255((s - d) x w) for 8 16-bit lanes: the product plus 128 is formed exactly in 32 bits by
// one multiply-add of the pairs (s - d, 128) and (w, 1), then (u + (u >> 8)) >> 8.
SIMD_TARGET inline __m128i over8(__m128i d16, __m128i s16, __m128i w16) {
    const __m128i c128 = _mm_set1_epi16(128);
    const __m128i c1 = _mm_set1_epi16(1);
    const __m128i diff = _mm_sub_epi16(s16, d16);
    __m128i ulo = _mm_madd_epi16(_mm_unpacklo_epi16(diff, c128), _mm_unpacklo_epi16(w16, c1));
    __m128i uhi = _mm_madd_epi16(_mm_unpackhi_epi16(diff, c128), _mm_unpackhi_epi16(w16, c1));
    ulo = _mm_srai_epi32(_mm_add_epi32(ulo, _mm_srai_epi32(ulo, 8)), 8);
    uhi = _mm_srai_epi32(_mm_add_epi32(uhi, _mm_srai_epi32(uhi, 8)), 8);
    return _mm_add_epi16(d16, _mm_packs_epi32(ulo, uhi));
}

// alphaOver of 16 bytes.
SIMD_TARGET inline __m128i over16(__m128i d, __m128i s, __m128i w) {
    const __m128i zero = _mm_setzero_si128();
    __m128i lo = over8(_mm_cvtepu8_epi16(d), _mm_cvtepu8_epi16(s), _mm_cvtepu8_epi16(w));
    __m128i hi = over8(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero),
                       _mm_unpackhi_epi8(w, zero));
    return _mm_packus_epi16(lo, hi);
}

// Shuffles between 4-byte pixels (alpha, blue, green, red) and packed 3-byte ones.
SIMD_TARGET inline __m128i dropAlpha(__m128i v) {
    const __m128i m = _mm_setr_epi8(1, 2, 3, 5, 6, 7, 9, 10, 11, 13, 14, 15, -1, -1, -1, -1);
    return _mm_shuffle_epi8(v, m);
}
SIMD_TARGET inline __m128i spreadColour(__m128i v) {  // 4 packed pixels to lanes 1..3
    const __m128i m = _mm_setr_epi8(-1, 0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11);
    return _mm_shuffle_epi8(v, m);
}
SIMD_TARGET inline __m128i broadcastAlpha(__m128i v) {
    const __m128i m = _mm_setr_epi8(0, 0, 0, 0, 4, 4, 4, 4, 8, 8, 8, 8, 12, 12, 12, 12);
    return _mm_shuffle_epi8(v, m);
}

// 16 pixels of 4 bytes (alpha dropped) into 48 packed bytes.
SIMD_TARGET inline void storePacked(uint8_t* d, __m128i c0, __m128i c1, __m128i c2, __m128i c3) {
    c0 = dropAlpha(c0);
    c1 = dropAlpha(c1);
    c2 = dropAlpha(c2);
    c3 = dropAlpha(c3);
    __m128i o0 = _mm_or_si128(c0, _mm_slli_si128(c1, 12));
    __m128i o1 = _mm_or_si128(_mm_srli_si128(c1, 4), _mm_slli_si128(c2, 8));
    __m128i o2 = _mm_or_si128(_mm_srli_si128(c2, 8), _mm_slli_si128(c3, 4));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), o0);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16), o1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 32), o2);
}

// 48 packed bytes into four registers of 4 pixels in lanes 1..3.
SIMD_TARGET inline void loadSpread(const uint8_t* d, __m128i e[4]) {
    __m128i d0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
    __m128i d1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 16));
    __m128i d2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 32));
    e[0] = spreadColour(d0);
    e[1] = spreadColour(_mm_alignr_epi8(d1, d0, 12));
    e[2] = spreadColour(_mm_alignr_epi8(d2, d1, 8));
    e[3] = spreadColour(_mm_srli_si128(d2, 4));
}

SIMD_TARGET bool plain34Vector(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    const __m128i alphaMask = _mm_set1_epi32(0xFF);
    const int blocks = w / 16;
    for (int y = 0; y < h; ++y) {
        uint8_t* d = dst + static_cast<ptrdiff_t>(y) * dp * 3;
        const uint8_t* s = src + static_cast<ptrdiff_t>(y) * sp * 4;
        for (int b = 0; b < blocks; ++b, d += 48, s += 64) {
            __m128i v[4];
            for (int i = 0; i < 4; ++i)
                v[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16 * i));
            __m128i any = _mm_or_si128(_mm_or_si128(v[0], v[1]), _mm_or_si128(v[2], v[3]));
            if (_mm_testz_si128(any, alphaMask)) continue;  // all transparent
            __m128i all = _mm_and_si128(_mm_and_si128(v[0], v[1]), _mm_and_si128(v[2], v[3]));
            if (_mm_test_all_ones(_mm_or_si128(all, _mm_xor_si128(alphaMask, _mm_set1_epi32(-1))))) {
                storePacked(d, v[0], v[1], v[2], v[3]);  // all opaque
                continue;
            }
            __m128i e[4];
            loadSpread(d, e);
            for (int i = 0; i < 4; ++i) e[i] = over16(e[i], v[i], broadcastAlpha(v[i]));
            storePacked(d, e[0], e[1], e[2], e[3]);
        }
        const int done = blocks * 16;
        if (done < w) plain34Scalar(d, s, dp, sp, w - done, 1);
    }
    return true;
}

SIMD_TARGET bool opacity33Vector(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h,
                                 int o) {
    const __m128i weight = _mm_set1_epi8(static_cast<char>(o));
    const ptrdiff_t bytes = static_cast<ptrdiff_t>(w) * 3;
    for (int y = 0; y < h; ++y) {
        uint8_t* d = dst + static_cast<ptrdiff_t>(y) * dp * 3;
        const uint8_t* s = src + static_cast<ptrdiff_t>(y) * sp * 3;
        ptrdiff_t i = 0;
        for (; i + 16 <= bytes; i += 16) {
            __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
            __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), over16(dv, sv, weight));
        }
        for (; i < bytes; ++i) d[i] = alphaOver(d[i], s[i], o);
    }
    return true;
}

// div255(o x a) for the 16 alpha bytes broadcast in v (all values and sums fit 16 unsigned bits).
SIMD_TARGET inline __m128i scaledAlpha(__m128i a, __m128i o16) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i c128 = _mm_set1_epi16(128);
    __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_cvtepu8_epi16(a), o16), c128);
    __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(a, zero), o16), c128);
    lo = _mm_srli_epi16(_mm_add_epi16(lo, _mm_srli_epi16(lo, 8)), 8);
    hi = _mm_srli_epi16(_mm_add_epi16(hi, _mm_srli_epi16(hi, 8)), 8);
    return _mm_packus_epi16(lo, hi);
}

SIMD_TARGET bool opacity34Vector(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h,
                                 int o) {
    const __m128i alphaMask = _mm_set1_epi32(0xFF);
    const __m128i o16 = _mm_set1_epi16(static_cast<short>(o));
    const int blocks = w / 16;
    for (int y = 0; y < h; ++y) {
        uint8_t* d = dst + static_cast<ptrdiff_t>(y) * dp * 3;
        const uint8_t* s = src + static_cast<ptrdiff_t>(y) * sp * 4;
        for (int b = 0; b < blocks; ++b, d += 48, s += 64) {
            __m128i v[4];
            for (int i = 0; i < 4; ++i)
                v[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16 * i));
            __m128i any = _mm_or_si128(_mm_or_si128(v[0], v[1]), _mm_or_si128(v[2], v[3]));
            if (_mm_testz_si128(any, alphaMask)) continue;
            __m128i e[4];
            loadSpread(d, e);
            for (int i = 0; i < 4; ++i)
                e[i] = over16(e[i], v[i], scaledAlpha(broadcastAlpha(v[i]), o16));
            storePacked(d, e[0], e[1], e[2], e[3]);
        }
        const int done = blocks * 16;
        if (done < w) opacity34Scalar(d, s, dp, sp, w - done, 1, o);
    }
    return true;
}

SIMD_TARGET void overPatternVector(uint8_t* dst, int bpp, int pitch, int w, int h,
                                   const uint8_t pattern[48], int a) {
    const __m128i weight = _mm_set1_epi8(static_cast<char>(a));
    const __m128i p0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern));
    const __m128i p1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern + 16));
    const __m128i p2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern + 32));
    const ptrdiff_t bytes = static_cast<ptrdiff_t>(w) * bpp;
    for (int y = 0; y < h; ++y) {
        uint8_t* d = dst + static_cast<ptrdiff_t>(y) * pitch * bpp;
        ptrdiff_t i = 0;
        for (; i + 48 <= bytes; i += 48) {
            __m128i* q = reinterpret_cast<__m128i*>(d + i);
            _mm_storeu_si128(q, over16(_mm_loadu_si128(q), p0, weight));
            _mm_storeu_si128(q + 1, over16(_mm_loadu_si128(q + 1), p1, weight));
            _mm_storeu_si128(q + 2, over16(_mm_loadu_si128(q + 2), p2, weight));
        }
        for (; i < bytes; ++i) d[i] = alphaOver(d[i], pattern[i % 48], a);
    }
}

SIMD_TARGET void alphaOver16Vector(const uint8_t* d, const uint8_t* s, const uint8_t* w,
                                   uint8_t* out) {
    __m128i r = over16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(d)),
                       _mm_loadu_si128(reinterpret_cast<const __m128i*>(s)),
                       _mm_loadu_si128(reinterpret_cast<const __m128i*>(w)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), r);
}

// --- AVX2: 32 pixels at a time (the shared operations in simdPixelOps256.h).
using simdpixel::load32;
using simdpixel::over32;
using simdpixel::overPacked;
using simdpixel::packColour;
using simdpixel::packFirstByte;
using simdpixel::Pixels32;
using simdpixel::scaledAlpha32;
using simdpixel::store96;

AVX2_TARGET bool plain34Avx2Rows(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    const __m256i alphaMask = _mm256_set1_epi32(0xFF);
    const int blocks = w / 32;
    for (int y = 0; y < h; ++y) {
        uint8_t* d = dst + static_cast<ptrdiff_t>(y) * dp * 3;
        const uint8_t* s = src + static_cast<ptrdiff_t>(y) * sp * 4;
        for (int b = 0; b < blocks; ++b, d += 96, s += 128) {
            const Pixels32 v = load32(s);
            const __m256i any =
                _mm256_or_si256(_mm256_or_si256(v.v0, v.v1), _mm256_or_si256(v.v2, v.v3));
            if (_mm256_testz_si256(any, alphaMask)) continue;  // all transparent
            const __m256i all =
                _mm256_and_si256(_mm256_and_si256(v.v0, v.v1), _mm256_and_si256(v.v2, v.v3));
            if (_mm256_testc_si256(all, alphaMask)) {  // all opaque
                store96(d, packColour(v));
                continue;
            }
            overPacked(d, packColour(v), packFirstByte(v));
        }
        const int done = blocks * 32;
        if (done < w) plain34Vector(d, s, dp, sp, w - done, 1);
    }
    return true;
}

AVX2_TARGET bool opacity34Avx2Rows(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h,
                                   int o) {
    const __m256i alphaMask = _mm256_set1_epi32(0xFF);
    const __m256i o16 = _mm256_set1_epi16(static_cast<short>(o));
    const int blocks = w / 32;
    for (int y = 0; y < h; ++y) {
        uint8_t* d = dst + static_cast<ptrdiff_t>(y) * dp * 3;
        const uint8_t* s = src + static_cast<ptrdiff_t>(y) * sp * 4;
        for (int b = 0; b < blocks; ++b, d += 96, s += 128) {
            const Pixels32 v = load32(s);
            const __m256i any =
                _mm256_or_si256(_mm256_or_si256(v.v0, v.v1), _mm256_or_si256(v.v2, v.v3));
            if (_mm256_testz_si256(any, alphaMask)) continue;
            const Pixels32 weights = {scaledAlpha32(v.v0, o16), scaledAlpha32(v.v1, o16),
                                     scaledAlpha32(v.v2, o16), scaledAlpha32(v.v3, o16)};
            overPacked(d, packColour(v), packFirstByte(weights));
        }
        const int done = blocks * 32;
        if (done < w) opacity34Vector(d, s, dp, sp, w - done, 1, o);
    }
    return true;
}

AVX2_TARGET void alphaOver32Vector(const uint8_t* d, const uint8_t* s, const uint8_t* w,
                                   uint8_t* out) {
    const __m256i r = over32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(d)),
                             _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s)),
                             _mm256_loadu_si256(reinterpret_cast<const __m256i*>(w)));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), r);
}

}  // namespace

bool plain34Sse41(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    if (!simdAvailable()) return plain34Scalar(dst, src, dp, sp, w, h);
    return plain34Vector(dst, src, dp, sp, w, h);
}
bool opacity34Sse41(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    if (!simdAvailable()) return opacity34Scalar(dst, src, dp, sp, w, h, o);
    return opacity34Vector(dst, src, dp, sp, w, h, o);
}
bool plain34Avx2(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    if (!avx2Available()) return plain34Sse41(dst, src, dp, sp, w, h);
    return plain34Avx2Rows(dst, src, dp, sp, w, h);
}
bool opacity34Avx2(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    if (!avx2Available()) return opacity34Sse41(dst, src, dp, sp, w, h, o);
    return opacity34Avx2Rows(dst, src, dp, sp, w, h, o);
}
void alphaOver32(const uint8_t d[32], const uint8_t s[32], const uint8_t w[32], uint8_t out[32]) {
    if (avx2Available()) return alphaOver32Vector(d, s, w, out);
    for (int i = 0; i < 32; ++i) out[i] = alphaOver(d[i], s[i], w[i]);
}

bool plain34Simd(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    if (avx2Available()) return plain34Avx2Rows(dst, src, dp, sp, w, h);
    return plain34Sse41(dst, src, dp, sp, w, h);
}
bool opacity33Simd(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    if (!simdAvailable()) return opacity33Scalar(dst, src, dp, sp, w, h, o);
    return opacity33Vector(dst, src, dp, sp, w, h, o);
}
bool opacity34Simd(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    if (avx2Available()) return opacity34Avx2Rows(dst, src, dp, sp, w, h, o);
    return opacity34Sse41(dst, src, dp, sp, w, h, o);
}
void overPatternSimd(uint8_t* dst, int bpp, int pitch, int w, int h, const uint8_t pattern[48],
                     int a) {
    if (simdAvailable()) return overPatternVector(dst, bpp, pitch, w, h, pattern, a);
    overPatternScalar(dst, bpp, pitch, w, h, pattern, a);
}
void alphaOver16(const uint8_t d[16], const uint8_t s[16], const uint8_t w[16], uint8_t out[16]) {
    if (simdAvailable()) return alphaOver16Vector(d, s, w, out);
    for (int i = 0; i < 16; ++i) out[i] = alphaOver(d[i], s[i], w[i]);
}

#else  // no vector forms on this processor

bool simdAvailable() { return false; }
bool avx2Available() { return false; }
bool plain34Sse41(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    return plain34Scalar(dst, src, dp, sp, w, h);
}
bool opacity34Sse41(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    return opacity34Scalar(dst, src, dp, sp, w, h, o);
}
bool plain34Avx2(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    return plain34Scalar(dst, src, dp, sp, w, h);
}
bool opacity34Avx2(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    return opacity34Scalar(dst, src, dp, sp, w, h, o);
}
void alphaOver32(const uint8_t d[32], const uint8_t s[32], const uint8_t w[32], uint8_t out[32]) {
    for (int i = 0; i < 32; ++i) out[i] = alphaOver(d[i], s[i], w[i]);
}
bool plain34Simd(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    return plain34Scalar(dst, src, dp, sp, w, h);
}
bool opacity33Simd(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    return opacity33Scalar(dst, src, dp, sp, w, h, o);
}
bool opacity34Simd(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    return opacity34Scalar(dst, src, dp, sp, w, h, o);
}
void overPatternSimd(uint8_t* dst, int bpp, int pitch, int w, int h, const uint8_t pattern[48],
                     int a) {
    overPatternScalar(dst, bpp, pitch, w, h, pattern, a);
}
void alphaOver16(const uint8_t d[16], const uint8_t s[16], const uint8_t w[16], uint8_t out[16]) {
    for (int i = 0; i < 16; ++i) out[i] = alphaOver(d[i], s[i], w[i]);
}
#endif

void overPatternScalar(uint8_t* dst, int bpp, int pitch, int w, int h, const uint8_t pattern[48],
                       int a) {
    // With one colour and one weight each byte's result depends only on the byte it replaces.
    uint8_t table[4][256];
    for (int k = 0; k < bpp; ++k)
        for (int d = 0; d < 256; ++d) table[k][d] = alphaOver(d, pattern[k], a);
    const ptrdiff_t bytes = static_cast<ptrdiff_t>(w) * bpp;
    for (int y = 0; y < h; ++y) {
        uint8_t* d = dst + static_cast<ptrdiff_t>(y) * pitch * bpp;
        for (int k = 0; k < bpp; ++k)
            for (ptrdiff_t i = k; i < bytes; i += bpp) d[i] = table[k][d[i]];
    }
}
