// Vector pixel operations (SSE4.1) shared by the blend, rotated-blit and resampling loops; only for
// functions built with SIMD_PIXEL_TARGET and called where simdAvailable() holds.
#pragma once

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#include <cstdint>
#include <cstring>

#define MORVANE_PIXEL_SIMD 1
#define SIMD_PIXEL_TARGET __attribute__((target("sse4.1")))

namespace simdpixel {

SIMD_PIXEL_TARGET inline __m128i c16(short v) { return _mm_set1_epi16(v); }

// div255 of 16-bit lanes t <= 65,025: ((t + 128) x 257) >> 16.
SIMD_PIXEL_TARGET inline __m128i div255u16(__m128i t) {
    return _mm_mulhi_epu16(_mm_add_epi16(t, c16(128)), c16(257));
}

// d + div255((f - d) x w) on 16-bit lanes of bytes: |f - d| x w with the sign of f - d, since
// div255(-p) = -(((p + 127) x 257) >> 16) for 0 <= p <= 65,025.
SIMD_PIXEL_TARGET inline __m128i overWeighted(__m128i d, __m128i f, __m128i w) {
    const __m128i diff = _mm_sub_epi16(f, d);
    const __m128i p = _mm_mullo_epi16(_mm_abs_epi16(diff), w);
    const __m128i bias = _mm_add_epi16(c16(128), _mm_srai_epi16(diff, 15));
    const __m128i q = _mm_mulhi_epu16(_mm_add_epi16(p, bias), c16(257));
    return _mm_add_epi16(d, _mm_sign_epi16(q, diff));
}

// alphaOver of 16 bytes: d laid over by s with weights w.
SIMD_PIXEL_TARGET inline __m128i over16(__m128i d, __m128i s, __m128i w) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = overWeighted(_mm_cvtepu8_epi16(d), _mm_cvtepu8_epi16(s), _mm_cvtepu8_epi16(w));
    const __m128i hi = overWeighted(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(w, zero));
    return _mm_packus_epi16(lo, hi);
}

// Shuffles between 4-byte pixels (alpha, blue, green, red) and packed 3-byte ones.
SIMD_PIXEL_TARGET inline __m128i dropAlpha(__m128i v) {
    return _mm_shuffle_epi8(v, _mm_setr_epi8(1, 2, 3, 5, 6, 7, 9, 10, 11, 13, 14, 15, -1, -1, -1, -1));
}
SIMD_PIXEL_TARGET inline __m128i spreadColour(__m128i v) {  // 4 packed pixels to lanes 1..3
    return _mm_shuffle_epi8(v, _mm_setr_epi8(-1, 0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11));
}
SIMD_PIXEL_TARGET inline __m128i broadcastAlpha(__m128i v) {
    return _mm_shuffle_epi8(v, _mm_setr_epi8(0, 0, 0, 0, 4, 4, 4, 4, 8, 8, 8, 8, 12, 12, 12, 12));
}

// 16 pixels of 4 bytes (alpha dropped) into 48 packed bytes.
SIMD_PIXEL_TARGET inline void storePacked(uint8_t* d, const __m128i c[4]) {
    const __m128i c0 = dropAlpha(c[0]), c1 = dropAlpha(c[1]), c2 = dropAlpha(c[2]), c3 = dropAlpha(c[3]);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_or_si128(c0, _mm_slli_si128(c1, 12)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16), _mm_or_si128(_mm_srli_si128(c1, 4), _mm_slli_si128(c2, 8)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 32), _mm_or_si128(_mm_srli_si128(c2, 8), _mm_slli_si128(c3, 4)));
}
// 48 packed bytes into four registers of 4 pixels in lanes 1..3.
SIMD_PIXEL_TARGET inline void loadSpread(const uint8_t* d, __m128i e[4]) {
    const __m128i d0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
    const __m128i d1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 16));
    const __m128i d2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 32));
    e[0] = spreadColour(d0);
    e[1] = spreadColour(_mm_alignr_epi8(d1, d0, 12));
    e[2] = spreadColour(_mm_alignr_epi8(d2, d1, 8));
    e[3] = spreadColour(_mm_srli_si128(d2, 4));
}

// Exactly 12 bytes (4 packed 3-byte pixels) in and out of the low lanes.
SIMD_PIXEL_TARGET inline __m128i load12(const uint8_t* p) {
    uint32_t tail;
    std::memcpy(&tail, p + 8, 4);
    return _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)),
                              _mm_cvtsi32_si128(static_cast<int>(tail)));
}
SIMD_PIXEL_TARGET inline void store12(uint8_t* p, __m128i v) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
    const uint32_t tail = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(v, 8)));
    std::memcpy(p + 8, &tail, 4);
}

// div255(opacity x a) of 16 bytes (every product and sum within 16 unsigned bits).
SIMD_PIXEL_TARGET inline __m128i scaledWeight(__m128i a, __m128i o16) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = div255u16(_mm_mullo_epi16(_mm_cvtepu8_epi16(a), o16));
    const __m128i hi = div255u16(_mm_mullo_epi16(_mm_unpackhi_epi8(a, zero), o16));
    return _mm_packus_epi16(lo, hi);
}

}  // namespace simdpixel
#endif
