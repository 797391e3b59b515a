// Vector pixel operations (AVX2) on 32 pixels at a time, shared by the blit, blend and rotated-blit
// loops; only for functions built with AVX2_PIXEL_TARGET and called where avx2Available() holds.
#pragma once

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#include <cstdint>

#define MORVANE_PIXEL_AVX2 1
#define AVX2_PIXEL_TARGET __attribute__((target("avx2")))

namespace simdpixel {

// 32 pixels of 4 bytes, in four registers.
struct Pixels32 {
    __m256i v0, v1, v2, v3;
};
// 96 packed bytes (3 a pixel), in three registers.
struct Packed96 {
    __m256i p0, p1, p2;
};

AVX2_PIXEL_TARGET inline Pixels32 load32(const uint8_t* s) {
    const __m256i* q = reinterpret_cast<const __m256i*>(s);
    return {_mm256_loadu_si256(q), _mm256_loadu_si256(q + 1), _mm256_loadu_si256(q + 2),
            _mm256_loadu_si256(q + 3)};
}

// Picks three bytes of each pixel by a shuffle within each 128-bit half (12 bytes at its bottom),
// then packs the four registers into three.
AVX2_PIXEL_TARGET inline Packed96 pack3(const Pixels32& v, __m256i pick) {
    const __m256i q0 = _mm256_shuffle_epi8(v.v0, pick);
    const __m256i q1 = _mm256_shuffle_epi8(v.v1, pick);
    const __m256i q2 = _mm256_shuffle_epi8(v.v2, pick);
    const __m256i q3 = _mm256_shuffle_epi8(v.v3, pick);
    const __m256i p0 = _mm256_permutevar8x32_epi32(q0, _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 0, 0));
    const __m256i p1 = _mm256_permutevar8x32_epi32(q1, _mm256_setr_epi32(2, 4, 5, 6, 0, 0, 0, 1));
    const __m256i p2 = _mm256_permutevar8x32_epi32(q2, _mm256_setr_epi32(5, 6, 0, 0, 0, 1, 2, 4));
    const __m256i p3 = _mm256_permutevar8x32_epi32(q3, _mm256_setr_epi32(0, 0, 0, 1, 2, 4, 5, 6));
    return {_mm256_blend_epi32(p0, p1, 0xC0), _mm256_blend_epi32(p1, p2, 0xF0),
            _mm256_blend_epi32(p2, p3, 0xFC)};
}

// The colour bytes of each pixel, packed.
AVX2_PIXEL_TARGET inline Packed96 packColour(const Pixels32& v) {
    return pack3(v, _mm256_setr_epi8(1, 2, 3, 5, 6, 7, 9, 10, 11, 13, 14, 15, -1, -1, -1, -1,  //
                                     1, 2, 3, 5, 6, 7, 9, 10, 11, 13, 14, 15, -1, -1, -1, -1));
}
// Byte 0 of each pixel three times, packed the same way.
AVX2_PIXEL_TARGET inline Packed96 packFirstByte(const Pixels32& v) {
    return pack3(v, _mm256_setr_epi8(0, 0, 0, 4, 4, 4, 8, 8, 8, 12, 12, 12, -1, -1, -1, -1,  //
                                     0, 0, 0, 4, 4, 4, 8, 8, 8, 12, 12, 12, -1, -1, -1, -1));
}

AVX2_PIXEL_TARGET inline void store96(uint8_t* d, const Packed96& c) {
    __m256i* q = reinterpret_cast<__m256i*>(d);
    _mm256_storeu_si256(q, c.p0);
    _mm256_storeu_si256(q + 1, c.p1);
    _mm256_storeu_si256(q + 2, c.p2);
}

// alphaOver in 16-bit lanes without widening: with y = 255 d + (s - d) w + 128 (0..65153) and
// z = y + d, d + div255((s - d) w) = (y + (z >> 8)) >> 8, and z = 256 d + (s - d) w + 128 is exact
// when formed modulo 2^16. The even and odd bytes of a register are taken apart by a mask and a
// shift, so no lane-crossing unpacks are needed.
// 256 x the result plus a remainder below 256, for one byte in each 16-bit lane.
AVX2_PIXEL_TARGET inline __m256i overTimes256(__m256i d, __m256i s, __m256i w) {
    const __m256i z = _mm256_add_epi16(
        _mm256_add_epi16(_mm256_slli_epi16(d, 8), _mm256_mullo_epi16(_mm256_sub_epi16(s, d), w)),
        _mm256_set1_epi16(128));
    return _mm256_add_epi16(_mm256_sub_epi16(z, d), _mm256_srli_epi16(z, 8));
}

AVX2_PIXEL_TARGET inline __m256i over32(__m256i d, __m256i s, __m256i w) {
    const __m256i low = _mm256_set1_epi16(0x00FF);
    const __m256i even = overTimes256(_mm256_and_si256(d, low), _mm256_and_si256(s, low),
                                  _mm256_and_si256(w, low));
    const __m256i odd = overTimes256(_mm256_srli_epi16(d, 8), _mm256_srli_epi16(s, 8),
                                 _mm256_srli_epi16(w, 8));
    return _mm256_or_si256(_mm256_srli_epi16(even, 8), _mm256_andnot_si256(low, odd));
}

// The packed destination bytes laid over by the packed colours with the packed weights.
AVX2_PIXEL_TARGET inline void overPacked(uint8_t* d, const Packed96& c, const Packed96& w) {
    __m256i* q = reinterpret_cast<__m256i*>(d);
    const __m256i d0 = _mm256_loadu_si256(q);
    const __m256i d1 = _mm256_loadu_si256(q + 1);
    const __m256i d2 = _mm256_loadu_si256(q + 2);
    _mm256_storeu_si256(q, over32(d0, c.p0, w.p0));
    _mm256_storeu_si256(q + 1, over32(d1, c.p1, w.p1));
    _mm256_storeu_si256(q + 2, over32(d2, c.p2, w.p2));
}

// div255(o x alpha) = ((o x alpha + 128) x 257) >> 16 in the low half of each pixel (alpha is its
// byte 0); the high half, 0 x o + 128, gives 0.
AVX2_PIXEL_TARGET inline __m256i scaledAlpha32(__m256i v, __m256i o16) {
    const __m256i p = _mm256_mullo_epi16(_mm256_and_si256(v, _mm256_set1_epi32(0xFF)), o16);
    return _mm256_mulhi_epu16(_mm256_add_epi16(p, _mm256_set1_epi16(128)), _mm256_set1_epi16(257));
}

}  // namespace simdpixel
#endif
