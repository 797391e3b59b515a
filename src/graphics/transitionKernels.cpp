#include "graphics/transitionKernels.h"

#include <cstring>

#include "graphics/pixelMath.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define MORVANE_TRANSITION_SIMD 1
#define SSE_TARGET __attribute__((target("sse4.1")))
#define AVX2_TARGET __attribute__((target("avx2")))
#endif

namespace {

// dst = (a x wa + b x wb) >> 8 per byte; wa + wb at most 256, so every sum fits 16 bits.
void weightedScalar(uint8_t* dst, const uint8_t* a, const uint8_t* b, size_t n, uint32_t wa,
                    uint32_t wb) {
    for (size_t i = 0; i < n; ++i) dst[i] = static_cast<uint8_t>((a[i] * wa + b[i] * wb) >> 8);
}

void wipeHardPixels(uint8_t* dst, const uint8_t* next, const uint8_t* rule, size_t n,
                    int32_t threshold) {
    for (size_t i = 0; i < n; ++i, dst += 3, next += 3)
        if (rule[i] < threshold) dst[0] = next[0], dst[1] = next[1], dst[2] = next[2];
}

void wipeSoftPixels(uint8_t* dst, const uint8_t* next, const uint8_t* prev, const uint8_t* rule,
                    size_t n, int64_t offset) {
    for (size_t i = 0; i < n; ++i, dst += 3, next += 3, prev += 3) {
        const int64_t w = int64_t(rule[i]) - offset;
        if (w < 1) {
            dst[0] = next[0], dst[1] = next[1], dst[2] = next[2];
        } else if (w > 255) {
            dst[0] = prev[0], dst[1] = prev[1], dst[2] = prev[2];
        } else {
            for (int k = 0; k < 3; ++k)
                dst[k] = static_cast<uint8_t>(next[k] +
                                              div255((prev[k] - next[k]) * static_cast<int>(w)));
        }
    }
}

// The band offset of a soft step, in 64 bits so that no progress value overflows.
int64_t softOffset(int32_t progress) { return (int64_t(progress) - 512) >> 1; }

int gVectorLimit = 2;

#ifdef MORVANE_TRANSITION_SIMD
bool hasAvx2() {
    static const bool available = __builtin_cpu_supports("avx2");
    return available && gVectorLimit >= 2;
}
bool hasSse41() {
    static const bool available = __builtin_cpu_supports("sse4.1");
    return available && gVectorLimit >= 1;
}

// 16 bytes of (a x wa + b x wb) >> 8 (SSE2).
inline __m128i weighted16(__m128i a, __m128i b, __m128i wa, __m128i wb) {
    const __m128i zero = _mm_setzero_si128();
    __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(a, zero), wa),
                               _mm_mullo_epi16(_mm_unpacklo_epi8(b, zero), wb));
    __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(a, zero), wa),
                               _mm_mullo_epi16(_mm_unpackhi_epi8(b, zero), wb));
    return _mm_packus_epi16(_mm_srli_epi16(lo, 8), _mm_srli_epi16(hi, 8));
}

void weightedSse2(uint8_t* dst, const uint8_t* a, const uint8_t* b, size_t n, uint32_t wa,
                  uint32_t wb) {
    const __m128i va = _mm_set1_epi16(static_cast<short>(wa));
    const __m128i vb = _mm_set1_epi16(static_cast<short>(wb));
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), weighted16(x, y, va, vb));
    }
    weightedScalar(dst + i, a + i, b + i, n - i, wa, wb);
}

// (a x wa + b x wb) >> 8 for wa, wb at most 255 with wa + wb at most 256: one multiply-add of the
// weight pairs (unsigned) by the pixel pairs less 128 (signed), which stays inside 16 signed bits,
// then the 128 (wa + wb) added back in unsigned 16-bit lanes.
AVX2_TARGET void weightedAvx2(uint8_t* dst, const uint8_t* a, const uint8_t* b, size_t n,
                              uint32_t wa, uint32_t wb) {
    const __m256i bias = _mm256_set1_epi8(static_cast<char>(0x80));
    const __m256i weights = _mm256_set1_epi16(static_cast<short>(wa | (wb << 8)));
    const __m256i offset = _mm256_set1_epi16(static_cast<short>(128 * (wa + wb)));
    size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        __m256i x = _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i)), bias);
        __m256i y = _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i)), bias);
        __m256i lo = _mm256_maddubs_epi16(weights, _mm256_unpacklo_epi8(x, y));
        __m256i hi = _mm256_maddubs_epi16(weights, _mm256_unpackhi_epi8(x, y));
        lo = _mm256_srli_epi16(_mm256_add_epi16(lo, offset), 8);
        hi = _mm256_srli_epi16(_mm256_add_epi16(hi, offset), 8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_packus_epi16(lo, hi));
    }
    weightedScalar(dst + i, a + i, b + i, n - i, wa, wb);
}

void weightedVector(uint8_t* dst, const uint8_t* a, const uint8_t* b, size_t n, uint32_t wa,
                    uint32_t wb) {
    if (gVectorLimit < 1) {
        weightedScalar(dst, a, b, n, wa, wb);
    } else if (wb > 255) {  // wa = 0: b itself
        std::memmove(dst, b, n);
    } else if (hasAvx2()) {
        weightedAvx2(dst, a, b, n, wa, wb);
    } else {
        weightedSse2(dst, a, b, n, wa, wb);
    }
}

// (s x level) >> 8 as the high half of (s << 8) x level.
AVX2_TARGET void scaleAvx2(uint8_t* dst, const uint8_t* src, size_t n, uint32_t level) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i l = _mm256_set1_epi16(static_cast<short>(level));
    size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        __m256i lo = _mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, v), l);
        __m256i hi = _mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, v), l);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_packus_epi16(lo, hi));
    }
    weightedScalar(dst + i, src + i, src + i, n - i, level, 0);
}

// Byte j of expanded vector k holds pixel (16 k + j) / 3 of 16 one-byte pixel values.
SSE_TARGET inline void spreadToPixels(__m128i v, __m128i out[3]) {
    const __m128i m0 = _mm_setr_epi8(0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5);
    const __m128i m1 = _mm_setr_epi8(5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10);
    const __m128i m2 = _mm_setr_epi8(10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15);
    out[0] = _mm_shuffle_epi8(v, m0);
    out[1] = _mm_shuffle_epi8(v, m1);
    out[2] = _mm_shuffle_epi8(v, m2);
}

SSE_TARGET void wipeHardSse(uint8_t* dst, const uint8_t* next, const uint8_t* rule, size_t n,
                            int32_t threshold) {
    const __m128i last = _mm_set1_epi8(static_cast<char>(threshold - 1));
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rule + i));
        const __m128i change = _mm_cmpeq_epi8(_mm_min_epu8(r, last), r);  // rule <= threshold - 1
        if (_mm_testz_si128(change, change)) continue;
        uint8_t* d = dst + i * 3;
        const uint8_t* s = next + i * 3;
        if (_mm_test_all_ones(change)) {
            std::memmove(d, s, 48);
            continue;
        }
        __m128i m[3];
        spreadToPixels(change, m);
        for (int k = 0; k < 3; ++k) {
            __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 16 * k));
            __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16 * k));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16 * k), _mm_blendv_epi8(dv, sv, m[k]));
        }
    }
    wipeHardPixels(dst + i * 3, next + i * 3, rule + i, n - i, threshold);
}

// next + div255((prev - next) x w) for 16 bytes with w in 0..255. With a = prev - next and
// b = next - prev (each saturated at 0, so one of them is 0), div255(a w) = (a w + 128) x 257 >> 16
// and -div255(-b w) = (b w + 127) x 257 >> 16, exactly, in unsigned 16-bit lanes.
SSE_TARGET inline __m128i softBlend16(__m128i nx, __m128i pv, __m128i w) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i c128 = _mm_set1_epi16(128);
    const __m128i c127 = _mm_set1_epi16(127);
    const __m128i c257 = _mm_set1_epi16(257);
    const __m128i a = _mm_subs_epu8(pv, nx);
    const __m128i b = _mm_subs_epu8(nx, pv);
    const __m128i wlo = _mm_unpacklo_epi8(w, zero), whi = _mm_unpackhi_epi8(w, zero);
    __m128i alo = _mm_mullo_epi16(_mm_unpacklo_epi8(a, zero), wlo);
    __m128i ahi = _mm_mullo_epi16(_mm_unpackhi_epi8(a, zero), whi);
    __m128i blo = _mm_mullo_epi16(_mm_unpacklo_epi8(b, zero), wlo);
    __m128i bhi = _mm_mullo_epi16(_mm_unpackhi_epi8(b, zero), whi);
    alo = _mm_mulhi_epu16(_mm_add_epi16(alo, c128), c257);
    ahi = _mm_mulhi_epu16(_mm_add_epi16(ahi, c128), c257);
    blo = _mm_mulhi_epu16(_mm_add_epi16(blo, c127), c257);
    bhi = _mm_mulhi_epu16(_mm_add_epi16(bhi, c127), c257);
    const __m128i up = _mm_packus_epi16(alo, ahi);
    const __m128i down = _mm_packus_epi16(blo, bhi);
    return _mm_sub_epi8(_mm_add_epi8(nx, up), down);
}

// next + div255((prev - next) x w) for 32 bytes, as (U + ((U + next) >> 8)) >> 8 with
// U = next (255 - w) + prev w + 128, which equals it exactly. m = U - 32768 comes from one
// multiply-add of the weight pairs (255 - w, w) (unsigned) by the pixel pairs less 128 (signed);
// the 32768 rides along with next (next + 32768 is next paired with the byte 0x80) and is taken
// off the result again as 128 after the last shift.
AVX2_TARGET inline __m256i softBlend32(__m256i nx, __m256i pv, __m256i w) {
    const __m256i bias = _mm256_set1_epi8(static_cast<char>(0x80));
    const __m256i nb = _mm256_xor_si256(nx, bias), pb = _mm256_xor_si256(pv, bias);
    const __m256i wi = _mm256_xor_si256(w, _mm256_set1_epi8(static_cast<char>(0xFF)));
    const __m256i lo = _mm256_maddubs_epi16(_mm256_unpacklo_epi8(wi, w), _mm256_unpacklo_epi8(nb, pb));
    const __m256i hi = _mm256_maddubs_epi16(_mm256_unpackhi_epi8(wi, w), _mm256_unpackhi_epi8(nb, pb));
    // (U + next) >> 8 = (m + next + 32768) >> 8 in unsigned 16-bit lanes.
    const __m256i tlo = _mm256_srli_epi16(_mm256_add_epi16(lo, _mm256_unpacklo_epi8(nx, bias)), 8);
    const __m256i thi = _mm256_srli_epi16(_mm256_add_epi16(hi, _mm256_unpackhi_epi8(nx, bias)), 8);
    // (U + t) >> 8 = ((m + t) >> 8) + 128, modulo 256.
    const __m256i rlo = _mm256_srli_epi16(_mm256_add_epi16(lo, tlo), 8);
    const __m256i rhi = _mm256_srli_epi16(_mm256_add_epi16(hi, thi), 8);
    return _mm256_xor_si256(_mm256_packus_epi16(rlo, rhi), bias);
}

// Index of the rule byte (from a base) that byte j of a 32-byte run of 3-byte pixels takes.
AVX2_TARGET inline __m256i pixelIndices(int firstByte, int basePixel) {
    alignas(32) int8_t idx[32];
    for (int j = 0; j < 32; ++j) idx[j] = static_cast<int8_t>((firstByte + j) / 3 - basePixel);
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(idx));
}

// 32 pixels a step. Each 32-byte run of weights comes from one 16-byte window of the rule, loaded
// into both halves and shuffled within them (the windows start at pixels 0, 10 and 21, so the
// step reads 37 rule bytes).
AVX2_TARGET void wipeSoftAvx2(uint8_t* dst, const uint8_t* next, const uint8_t* prev,
                              const uint8_t* rule, size_t n, int32_t offset) {
    const __m256i shift = _mm256_set1_epi8(static_cast<char>(offset >= 0 ? offset : -offset));
    const __m256i idx[3] = {pixelIndices(0, 0), pixelIndices(32, 10), pixelIndices(64, 21)};
    const int base[3] = {0, 10, 21};
    size_t i = 0;
    for (; i + 37 <= n; i += 32) {
        const size_t at = i * 3;
        for (int k = 0; k < 3; ++k) {
            const __m256i window = _mm256_broadcastsi128_si256(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(rule + i + base[k])));
            const __m256i r = _mm256_shuffle_epi8(window, idx[k]);
            const __m256i w = offset >= 0 ? _mm256_subs_epu8(r, shift) : _mm256_adds_epu8(r, shift);
            __m256i nv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(next + at + 32 * k));
            __m256i pv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(prev + at + 32 * k));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + at + 32 * k),
                                softBlend32(nv, pv, w));
        }
    }
    wipeSoftPixels(dst + i * 3, next + i * 3, prev + i * 3, rule + i, n - i, offset);
}

SSE_TARGET void wipeSoftSse(uint8_t* dst, const uint8_t* next, const uint8_t* prev,
                            const uint8_t* rule, size_t n, int32_t offset) {
    // w = rule - offset clamped to 0..255 gives next below 1 and prev above 255 (weight 255 is
    // prev exactly).
    const __m128i shift = _mm_set1_epi8(static_cast<char>(offset >= 0 ? offset : -offset));
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rule + i));
        const __m128i w = offset >= 0 ? _mm_subs_epu8(r, shift) : _mm_adds_epu8(r, shift);
        __m128i wk[3];
        spreadToPixels(w, wk);
        const size_t at = i * 3;
        for (int k = 0; k < 3; ++k) {
            __m128i nv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(next + at + 16 * k));
            __m128i pv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(prev + at + 16 * k));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + at + 16 * k), softBlend16(nv, pv, wk[k]));
        }
    }
    wipeSoftPixels(dst + i * 3, next + i * 3, prev + i * 3, rule + i, n - i, offset);
}
#endif

}  // namespace

void limitTransitionVectors(int level) { gVectorLimit = level; }

void crossFadeScalar(uint8_t* dst, const uint8_t* next, const uint8_t* prev, size_t n, uint32_t t) {
    if (t > 255) t = 255;
    weightedScalar(dst, next, prev, n, t, 255 - t);
}

void crossFadeMmxScalar(uint8_t* dst, const uint8_t* next, const uint8_t* prev, size_t n,
                        uint32_t t) {
    if (t > 255) t = 255;
    weightedScalar(dst, next, prev, n, t, 256 - t);
}

void scaleBrightnessScalar(uint8_t* dst, const uint8_t* src, size_t n, uint32_t level) {
    if (level > 255) level = 255;
    for (size_t i = 0; i < n; ++i) dst[i] = static_cast<uint8_t>((src[i] * level) >> 8);
}

void wipeHardScalar(uint8_t* dst, const uint8_t* next, const uint8_t* rule, size_t n,
                    int32_t progress) {
    wipeHardPixels(dst, next, rule, n, progress >> 2);
}

void wipeSoftScalar(uint8_t* dst, const uint8_t* next, const uint8_t* prev, const uint8_t* rule,
                    size_t n, int32_t progress) {
    wipeSoftPixels(dst, next, prev, rule, n, softOffset(progress));
}

#ifdef MORVANE_TRANSITION_SIMD
void crossFadeVector(uint8_t* dst, const uint8_t* next, const uint8_t* prev, size_t n, uint32_t t) {
    if (t > 255) t = 255;
    weightedVector(dst, next, prev, n, t, 255 - t);
}

void crossFadeMmxVector(uint8_t* dst, const uint8_t* next, const uint8_t* prev, size_t n,
                        uint32_t t) {
    if (t > 255) t = 255;
    weightedVector(dst, next, prev, n, t, 256 - t);
}

void scaleBrightnessVector(uint8_t* dst, const uint8_t* src, size_t n, uint32_t level) {
    if (level > 255) level = 255;
    if (hasAvx2()) scaleAvx2(dst, src, n, level);
    else if (gVectorLimit >= 1) weightedSse2(dst, src, src, n, level, 0);
    else scaleBrightnessScalar(dst, src, n, level);
}

void wipeHardVector(uint8_t* dst, const uint8_t* next, const uint8_t* rule, size_t n,
                    int32_t progress) {
    const int32_t threshold = progress >> 2;
    if (threshold <= 0) return;
    if (threshold > 255) {
        std::memmove(dst, next, n * 3);
        return;
    }
    if (!hasSse41()) return wipeHardScalar(dst, next, rule, n, progress);
    wipeHardSse(dst, next, rule, n, threshold);
}

void wipeSoftVector(uint8_t* dst, const uint8_t* next, const uint8_t* prev, const uint8_t* rule,
                    size_t n, int32_t progress) {
    const int64_t offset = softOffset(progress);
    if (offset >= 255) {
        std::memmove(dst, next, n * 3);
    } else if (offset <= -255) {
        std::memmove(dst, prev, n * 3);
    } else if (hasAvx2()) {
        wipeSoftAvx2(dst, next, prev, rule, n, static_cast<int32_t>(offset));
    } else if (!hasSse41()) {
        wipeSoftPixels(dst, next, prev, rule, n, offset);
    } else {
        wipeSoftSse(dst, next, prev, rule, n, static_cast<int32_t>(offset));
    }
}
#else
void crossFadeVector(uint8_t* dst, const uint8_t* next, const uint8_t* prev, size_t n, uint32_t t) {
    crossFadeScalar(dst, next, prev, n, t);
}
void crossFadeMmxVector(uint8_t* dst, const uint8_t* next, const uint8_t* prev, size_t n,
                        uint32_t t) {
    crossFadeMmxScalar(dst, next, prev, n, t);
}
void scaleBrightnessVector(uint8_t* dst, const uint8_t* src, size_t n, uint32_t level) {
    scaleBrightnessScalar(dst, src, n, level);
}
void wipeHardVector(uint8_t* dst, const uint8_t* next, const uint8_t* rule, size_t n,
                    int32_t progress) {
    wipeHardScalar(dst, next, rule, n, progress);
}
void wipeSoftVector(uint8_t* dst, const uint8_t* next, const uint8_t* prev, const uint8_t* rule,
                    size_t n, int32_t progress) {
    wipeSoftScalar(dst, next, prev, rule, n, progress);
}
#endif
