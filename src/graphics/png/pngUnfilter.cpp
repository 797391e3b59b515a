#include "graphics/png/pngUnfilter.h"

#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#define MORVANE_UNFILTER_SSE2 1
#endif

namespace {

// Paeth predictor, ties going to a, then up, then c.
inline int paeth(int a, int up, int c) {
    int pa = std::abs(up - c);
    int pb = std::abs(a - c);
    int pc = std::abs(a + up - 2 * c);
    if (pa <= pb && pa <= pc) return a;
    if (pb <= pc) return up;
    return c;
}

template <int B>
void unfilter(int filter, const uint8_t* prev, uint8_t* cur, int n) {
    switch (filter) {
        case 1:
            for (int i = B; i < n; ++i) cur[i] = static_cast<uint8_t>(cur[i] + cur[i - B]);
            break;
        case 2:
            for (int i = 0; i < n; ++i) cur[i] = static_cast<uint8_t>(cur[i] + prev[i]);
            break;
        case 3:
            for (int i = 0; i < B; ++i) cur[i] = static_cast<uint8_t>(cur[i] + (prev[i] >> 1));
            for (int i = B; i < n; ++i)
                cur[i] = static_cast<uint8_t>(cur[i] + ((cur[i - B] + prev[i]) >> 1));
            break;
        case 4:
            for (int i = 0; i < B; ++i) cur[i] = static_cast<uint8_t>(cur[i] + prev[i]);
            for (int i = B; i < n; ++i)
                cur[i] = static_cast<uint8_t>(cur[i] + paeth(cur[i - B], prev[i], prev[i - B]));
            break;
        default:
            break;
    }
}

bool usable(int filter, const uint8_t* previous, const uint8_t* current, int width, int bpp) {
    return filter != 0 && previous && current && width > 0 && bpp > 0 && bpp <= 4;
}

void unfilterScalar(int filter, const uint8_t* previous, uint8_t* current, int width, int bpp) {
    const int n = width * bpp;
    switch (bpp) {
        case 1: unfilter<1>(filter, previous, current, n); break;
        case 2: unfilter<2>(filter, previous, current, n); break;
        case 3: unfilter<3>(filter, previous, current, n); break;
        case 4: unfilter<4>(filter, previous, current, n); break;
    }
}

#ifdef MORVANE_UNFILTER_SSE2
// Sub, Average and Paeth depend on the restored pixel to the left, so they go a pixel at a time,
// that pixel kept in a register (bytes widened to 16-bit lanes for Average and Paeth).
// A 3-byte pixel is read and written as two bytes and one (not through a 4-byte word in memory,
// which would stall on the narrower writes).
template <int B>
inline __m128i loadPixel(const uint8_t* p) {
    uint32_t v;
    if (B == 4) {
        std::memcpy(&v, p, 4);
    } else {
        uint16_t low;
        std::memcpy(&low, p, 2);
        v = low | uint32_t(p[2]) << 16;
    }
    return _mm_cvtsi32_si128(static_cast<int>(v));
}
template <int B>
inline void storePixel(uint8_t* p, __m128i v) {
    const uint32_t x = static_cast<uint32_t>(_mm_cvtsi128_si32(v));
    if (B == 4) {
        std::memcpy(p, &x, 4);
    } else {
        const uint16_t low = static_cast<uint16_t>(x);
        std::memcpy(p, &low, 2);
        p[2] = static_cast<uint8_t>(x >> 16);
    }
}
template <int B>
inline __m128i loadWide(const uint8_t* p) {
    return _mm_unpacklo_epi8(loadPixel<B>(p), _mm_setzero_si128());
}
template <int B>
inline void storeWide(uint8_t* p, __m128i v) {
    storePixel<B>(p, _mm_packus_epi16(v, v));
}

template <int B>
void subVector(uint8_t* cur, int width) {
    __m128i a = _mm_setzero_si128();
    for (int x = 0; x < width; ++x, cur += B) {
        a = _mm_add_epi8(a, loadPixel<B>(cur));
        storePixel<B>(cur, a);
    }
}

// x + ((a + up) >> 1) = (2x + up + a) >> 1 modulo 256: only the last add and shift wait for a.
template <int B>
void averageVector(const uint8_t* prev, uint8_t* cur, int width) {
    const __m128i low = _mm_set1_epi16(0xFF);
    __m128i a = _mm_setzero_si128();
    for (int x = 0; x < width; ++x, cur += B, prev += B) {
        const __m128i c = loadWide<B>(cur);
        const __m128i t = _mm_add_epi16(loadWide<B>(prev), _mm_add_epi16(c, c));
        a = _mm_and_si128(_mm_srli_epi16(_mm_add_epi16(a, t), 1), low);
        storeWide<B>(cur, a);
    }
}

inline __m128i abs16(__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v)); }
inline __m128i select(__m128i mask, __m128i yes, __m128i no) {
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

// The predictor is the one of pa = |up - c|, pb = |a - c|, pc = |a + up - 2c| that is smallest,
// a before up before c on ties.
template <int B>
void paethVector(const uint8_t* prev, uint8_t* cur, int width) {
    const __m128i low = _mm_set1_epi16(0xFF);
    __m128i a = _mm_setzero_si128(), c = _mm_setzero_si128();
    for (int x = 0; x < width; ++x, cur += B, prev += B) {
        const __m128i up = loadWide<B>(prev);
        const __m128i toA = _mm_sub_epi16(up, c);
        const __m128i toB = _mm_sub_epi16(a, c);
        const __m128i pa = abs16(toA);
        const __m128i pb = abs16(toB);
        const __m128i pc = abs16(_mm_add_epi16(toA, toB));
        const __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
        const __m128i predictor = select(_mm_cmpeq_epi16(pa, smallest), a,
                                         select(_mm_cmpeq_epi16(pb, smallest), up, c));
        a = _mm_and_si128(_mm_add_epi16(loadWide<B>(cur), predictor), low);
        storeWide<B>(cur, a);
        c = up;
    }
}

void upVector(const uint8_t* prev, uint8_t* cur, int n) {
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        __m128i* q = reinterpret_cast<__m128i*>(cur + i);
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(prev + i));
        _mm_storeu_si128(q, _mm_add_epi8(_mm_loadu_si128(q), p));
    }
    for (; i < n; ++i) cur[i] = static_cast<uint8_t>(cur[i] + prev[i]);
}

template <int B>
bool unfilterVector(int filter, const uint8_t* prev, uint8_t* cur, int width) {
    switch (filter) {
        case 1: subVector<B>(cur, width); return true;
        case 3: averageVector<B>(prev, cur, width); return true;
        case 4: paethVector<B>(prev, cur, width); return true;
        default: return false;
    }
}
#endif

}  // namespace

void pngUnfilterRowScalar(int filter, const uint8_t* previous, uint8_t* current, int width,
                          int bpp) {
    if (usable(filter, previous, current, width, bpp))
        unfilterScalar(filter, previous, current, width, bpp);
}

void pngUnfilterRow(int filter, const uint8_t* previous, uint8_t* current, int width, int bpp) {
    if (!usable(filter, previous, current, width, bpp)) return;
#ifdef MORVANE_UNFILTER_SSE2
    if (filter == 2) return upVector(previous, current, width * bpp);
    if (bpp == 3 && unfilterVector<3>(filter, previous, current, width)) return;
    if (bpp == 4 && unfilterVector<4>(filter, previous, current, width)) return;
#endif
    unfilterScalar(filter, previous, current, width, bpp);
}
