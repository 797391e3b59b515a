// Vector blend loops: eight 16-bit lanes per step, every product below 65,536. div255 of such a
// product is ((t + 128) x 257) >> 16, one unsigned high multiply; the weighted form
// d + div255((f - d) x w) takes |f - d| x w and its sign (div255 of -p is -(((p + 127) x 257) >> 16));
// Dodge and Burn divide in single precision and truncate, which is exact for quotients of integers
// below 2^17. Tails shorter than a step run the same arithmetic on single bytes. The AVX2 forms run
// the same arithmetic on twice the lanes, their tails by the SSE4.1 forms.
#include "graphics/blendSimd.h"

#include <cstddef>

#include "graphics/blendKernels.h"
#include "graphics/blendModes.h"
#include "graphics/kernelSimd.h"
#include "graphics/pixelMath.h"
#include "graphics/simdPixelOps.h"
#include "graphics/simdPixelOps256.h"

#ifdef MORVANE_PIXEL_SIMD
namespace {

using namespace simdpixel;
#define BLEND_TARGET SIMD_PIXEL_TARGET

// The modes on eight 16-bit lanes of bytes; Scalar names the same mode on single bytes.
struct VNormal {
    using Scalar = blendmode::Normal;
    BLEND_TARGET static __m128i f(__m128i, __m128i s) { return s; }
};
struct VAdd {
    using Scalar = blendmode::Add;
    BLEND_TARGET static __m128i f(__m128i d, __m128i s) { return _mm_min_epi16(_mm_add_epi16(d, s), c16(255)); }
};
struct VSub {
    using Scalar = blendmode::Sub;
    BLEND_TARGET static __m128i f(__m128i d, __m128i s) { return _mm_subs_epu16(d, s); }
};
struct VMulti {
    using Scalar = blendmode::Multi;
    BLEND_TARGET static __m128i f(__m128i d, __m128i s) { return div255u16(_mm_mullo_epi16(d, s)); }
};
struct VScreen {  // 255 - M((255 - d)(255 - s)) = d + s - M(d s)
    using Scalar = blendmode::Screen;
    BLEND_TARGET static __m128i f(__m128i d, __m128i s) {
        return _mm_sub_epi16(_mm_add_epi16(d, s), div255u16(_mm_mullo_epi16(d, s)));
    }
};
struct VOverlay {  // M(2x) = ((x + 64) x 514) >> 16 for x = s (255 - d)
    using Scalar = blendmode::Overlay;
    BLEND_TARGET static __m128i f(__m128i d, __m128i s) {
        const __m128i x = _mm_mullo_epi16(s, _mm_sub_epi16(c16(255), d));
        const __m128i twice = _mm_mulhi_epu16(_mm_add_epi16(x, c16(64)), c16(514));
        return div255u16(_mm_mullo_epi16(d, _mm_add_epi16(twice, d)));
    }
};
// Truncated quotients of four 32-bit lanes.
BLEND_TARGET inline __m128i quotient32(__m128i num, __m128i den) {
    return _mm_cvttps_epi32(_mm_div_ps(_mm_cvtepi32_ps(num), _mm_cvtepi32_ps(den)));
}
struct VDodge {  // min(255, 256 d / (256 - s))
    using Scalar = blendmode::Dodge;
    BLEND_TARGET static __m128i f(__m128i d, __m128i s) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i num = _mm_slli_epi16(d, 8);  // 256 d <= 65,280
        const __m128i den = _mm_sub_epi16(c16(256), s);
        const __m128i cap = _mm_set1_epi32(255);
        __m128i lo = _mm_min_epi32(quotient32(_mm_unpacklo_epi16(num, zero), _mm_unpacklo_epi16(den, zero)), cap);
        __m128i hi = _mm_min_epi32(quotient32(_mm_unpackhi_epi16(num, zero), _mm_unpackhi_epi16(den, zero)), cap);
        return _mm_packs_epi32(lo, hi);
    }
};
struct VBurn {  // 255 - 256 (255 - d) / (s + 1), at least 0
    using Scalar = blendmode::Burn;
    BLEND_TARGET static __m128i f(__m128i d, __m128i s) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i num = _mm_slli_epi16(_mm_sub_epi16(c16(255), d), 8);
        const __m128i den = _mm_add_epi16(s, c16(1));
        const __m128i top = _mm_set1_epi32(255);
        __m128i lo = _mm_sub_epi32(top, quotient32(_mm_unpacklo_epi16(num, zero), _mm_unpacklo_epi16(den, zero)));
        __m128i hi = _mm_sub_epi32(top, quotient32(_mm_unpackhi_epi16(num, zero), _mm_unpackhi_epi16(den, zero)));
        return _mm_packs_epi32(_mm_max_epi32(lo, zero), _mm_max_epi32(hi, zero));
    }
};
struct VDarken {
    using Scalar = blendmode::Darken;
    BLEND_TARGET static __m128i f(__m128i d, __m128i s) { return _mm_min_epi16(d, s); }
};
struct VLighten {
    using Scalar = blendmode::Lighten;
    BLEND_TARGET static __m128i f(__m128i d, __m128i s) { return _mm_max_epi16(d, s); }
};
struct VDifference {
    using Scalar = blendmode::Difference;
    BLEND_TARGET static __m128i f(__m128i d, __m128i s) { return _mm_abs_epi16(_mm_sub_epi16(d, s)); }
};
struct VExclusion {  // |(((127 - d)(127 - s)) >> 7) - 127|, the product signed and within 16 bits
    using Scalar = blendmode::Exclusion;
    BLEND_TARGET static __m128i f(__m128i d, __m128i s) {
        const __m128i p = _mm_mullo_epi16(_mm_sub_epi16(c16(127), d), _mm_sub_epi16(c16(127), s));
        return _mm_abs_epi16(_mm_sub_epi16(_mm_srai_epi16(p, 7), c16(127)));
    }
};
struct VHardlight {  // s < 128: (d s) >> 7; else (32512 - (255 - d)(255 - s)) >> 7
    using Scalar = blendmode::Hardlight;
    BLEND_TARGET static __m128i f(__m128i d, __m128i s) {
        const __m128i low = _mm_srli_epi16(_mm_mullo_epi16(d, s), 7);
        const __m128i inv = _mm_mullo_epi16(_mm_sub_epi16(c16(255), d), _mm_sub_epi16(c16(255), s));
        const __m128i high = _mm_srli_epi16(_mm_sub_epi16(c16(32512), inv), 7);
        return _mm_blendv_epi8(high, low, _mm_cmplt_epi16(s, c16(128)));
    }
};
struct VSoftlight {
    using Scalar = blendmode::Softlight;
    BLEND_TARGET static __m128i f(__m128i d, __m128i s) {
        const __m128i invD = _mm_sub_epi16(c16(255), d);
        const __m128i screenInv = div255u16(_mm_mullo_epi16(invD, _mm_sub_epi16(c16(255), s)));
        const __m128i a = div255u16(_mm_mullo_epi16(d, _mm_sub_epi16(c16(255), screenInv)));
        const __m128i b = div255u16(_mm_mullo_epi16(invD, div255u16(_mm_mullo_epi16(d, s))));
        return _mm_add_epi16(a, b);
    }
};

// One mode on eight lanes: at full weight, or weighted by w (16-bit lanes 0..255).
template <class V>
BLEND_TARGET inline __m128i applyFull(__m128i d, __m128i s) {
    return V::f(d, s);
}
template <class V>
BLEND_TARGET inline __m128i applyWeighted(__m128i d, __m128i s, __m128i w) {
    if (V::Scalar::kScalesSource) return V::f(d, div255u16(_mm_mullo_epi16(s, w)));
    return overWeighted(d, V::f(d, s), w);
}

// Sixteen bytes: full weight, or weighted by w (bytes).
template <class V>
BLEND_TARGET inline __m128i full16(__m128i d, __m128i s) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = applyFull<V>(_mm_cvtepu8_epi16(d), _mm_cvtepu8_epi16(s));
    const __m128i hi = applyFull<V>(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero));
    return _mm_packus_epi16(lo, hi);
}
template <class V>
BLEND_TARGET inline __m128i weighted16(__m128i d, __m128i s, __m128i w) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = applyWeighted<V>(_mm_cvtepu8_epi16(d), _mm_cvtepu8_epi16(s), _mm_cvtepu8_epi16(w));
    const __m128i hi = applyWeighted<V>(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero),
                                        _mm_unpackhi_epi8(w, zero));
    return _mm_packus_epi16(lo, hi);
}
// Sixteen bytes weighted by one weight (16-bit lanes).
template <class V>
BLEND_TARGET inline __m128i weighted16By(__m128i d, __m128i s, __m128i w16) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = applyWeighted<V>(_mm_cvtepu8_epi16(d), _mm_cvtepu8_epi16(s), w16);
    const __m128i hi = applyWeighted<V>(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero), w16);
    return _mm_packus_epi16(lo, hi);
}

template <class V, bool kWeighted>
BLEND_TARGET bool vector3From3(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    if (!dst || !src) return false;
    using Mode = typename V::Scalar;
    const __m128i w16 = _mm_set1_epi16(static_cast<short>(o));
    const ptrdiff_t bytes = static_cast<ptrdiff_t>(w) * 3;
    for (int y = 0; y < h; ++y) {
        uint8_t* d = dst + static_cast<ptrdiff_t>(y) * dp * 3;
        const uint8_t* s = src + static_cast<ptrdiff_t>(y) * sp * 3;
        ptrdiff_t i = 0;
        for (; i + 16 <= bytes; i += 16) {
            const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
            const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
            const __m128i r = kWeighted ? weighted16By<V>(dv, sv, w16) : full16<V>(dv, sv);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), r);
        }
        for (; i < bytes; ++i)
            d[i] = kWeighted ? blendmode::weighted<Mode>(d[i], s[i], o) : blendmode::full<Mode>(d[i], s[i]);
    }
    return true;
}

// Each pixel's alpha three times in the low 12 bytes.
BLEND_TARGET inline __m128i alphaThrice(__m128i v) {
    return _mm_shuffle_epi8(v, _mm_setr_epi8(0, 0, 0, 4, 4, 4, 8, 8, 8, 12, 12, 12, -1, -1, -1, -1));
}
// Four registers of 12 bytes each into three full ones.
BLEND_TARGET inline void packThree(__m128i c0, __m128i c1, __m128i c2, __m128i c3, __m128i out[3]) {
    out[0] = _mm_or_si128(c0, _mm_slli_si128(c1, 12));
    out[1] = _mm_or_si128(_mm_srli_si128(c1, 4), _mm_slli_si128(c2, 8));
    out[2] = _mm_or_si128(_mm_srli_si128(c2, 8), _mm_slli_si128(c3, 4));
}

template <class V, bool kOpacity>
BLEND_TARGET bool vector3From4(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    if (!dst || !src) return false;
    using Mode = typename V::Scalar;
    const __m128i alphaMask = _mm_set1_epi32(0xFF);
    const __m128i o16 = _mm_set1_epi16(static_cast<short>(o));
    const int blocks = w / 16;
    for (int y = 0; y < h; ++y) {
        uint8_t* d = dst + static_cast<ptrdiff_t>(y) * dp * 3;
        const uint8_t* s = src + static_cast<ptrdiff_t>(y) * sp * 4;
        for (int b = 0; b < blocks; ++b, d += 48, s += 64) {
            __m128i v[4];
            for (int i = 0; i < 4; ++i) v[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16 * i));
            const __m128i any = _mm_or_si128(_mm_or_si128(v[0], v[1]), _mm_or_si128(v[2], v[3]));
            if (_mm_testz_si128(any, alphaMask)) continue;  // weight 0 everywhere: unchanged
            // The source's colour bytes and their weights packed as the destination's bytes.
            __m128i colour[3], weight[3];
            packThree(dropAlpha(v[0]), dropAlpha(v[1]), dropAlpha(v[2]), dropAlpha(v[3]), colour);
            packThree(alphaThrice(v[0]), alphaThrice(v[1]), alphaThrice(v[2]), alphaThrice(v[3]), weight);
            const __m128i all = _mm_and_si128(_mm_and_si128(v[0], v[1]), _mm_and_si128(v[2], v[3]));
            const bool opaque = !kOpacity && _mm_testc_si128(all, alphaMask);
            for (int i = 0; i < 3; ++i) {
                __m128i* q = reinterpret_cast<__m128i*>(d + 16 * i);
                const __m128i e = _mm_loadu_si128(q);
                __m128i r;
                if (opaque) r = full16<V>(e, colour[i]);  // weight 255 gives f itself
                else r = weighted16<V>(e, colour[i], kOpacity ? scaledWeight(weight[i], o16) : weight[i]);
                _mm_storeu_si128(q, r);
            }
        }
        for (int x = blocks * 16; x < w; ++x, d += 3, s += 4) {
            const int wt = kOpacity ? div255(o * s[0]) : s[0];
            if (!wt) continue;
            for (int k = 0; k < 3; ++k) d[k] = blendmode::weighted<Mode>(d[k], s[k + 1], wt);
        }
    }
    return true;
}

// --- AVX2: the same arithmetic on sixteen 16-bit lanes. A register of 32 bytes is taken apart into
// its even and odd bytes (a mask and a shift), each run through the mode, and put back together, so
// no lane-crossing unpacks are needed; every result lies in 0..255.
#define BLEND_AVX2 AVX2_PIXEL_TARGET

BLEND_AVX2 inline __m256i w16(short v) { return _mm256_set1_epi16(v); }
BLEND_AVX2 inline __m256i div255w(__m256i t) { return _mm256_mulhi_epu16(_mm256_add_epi16(t, w16(128)), w16(257)); }
BLEND_AVX2 inline __m256i overWeightedW(__m256i d, __m256i f, __m256i w) {
    const __m256i diff = _mm256_sub_epi16(f, d);
    const __m256i p = _mm256_mullo_epi16(_mm256_abs_epi16(diff), w);
    const __m256i bias = _mm256_add_epi16(w16(128), _mm256_srai_epi16(diff, 15));
    const __m256i q = _mm256_mulhi_epu16(_mm256_add_epi16(p, bias), w16(257));
    return _mm256_add_epi16(d, _mm256_sign_epi16(q, diff));
}
BLEND_AVX2 inline __m256i quotientW(__m256i num, __m256i den) {
    return _mm256_cvttps_epi32(_mm256_div_ps(_mm256_cvtepi32_ps(num), _mm256_cvtepi32_ps(den)));
}

struct WNormal {
    using Scalar = blendmode::Normal;
    BLEND_AVX2 static __m256i f(__m256i, __m256i s) { return s; }
};
struct WAdd {
    using Scalar = blendmode::Add;
    BLEND_AVX2 static __m256i f(__m256i d, __m256i s) { return _mm256_min_epi16(_mm256_add_epi16(d, s), w16(255)); }
};
struct WSub {
    using Scalar = blendmode::Sub;
    BLEND_AVX2 static __m256i f(__m256i d, __m256i s) { return _mm256_subs_epu16(d, s); }
};
struct WMulti {
    using Scalar = blendmode::Multi;
    BLEND_AVX2 static __m256i f(__m256i d, __m256i s) { return div255w(_mm256_mullo_epi16(d, s)); }
};
struct WScreen {
    using Scalar = blendmode::Screen;
    BLEND_AVX2 static __m256i f(__m256i d, __m256i s) {
        return _mm256_sub_epi16(_mm256_add_epi16(d, s), div255w(_mm256_mullo_epi16(d, s)));
    }
};
struct WOverlay {
    using Scalar = blendmode::Overlay;
    BLEND_AVX2 static __m256i f(__m256i d, __m256i s) {
        const __m256i x = _mm256_mullo_epi16(s, _mm256_sub_epi16(w16(255), d));
        const __m256i twice = _mm256_mulhi_epu16(_mm256_add_epi16(x, w16(64)), w16(514));
        return div255w(_mm256_mullo_epi16(d, _mm256_add_epi16(twice, d)));
    }
};
struct WDodge {
    using Scalar = blendmode::Dodge;
    BLEND_AVX2 static __m256i f(__m256i d, __m256i s) {
        const __m256i zero = _mm256_setzero_si256();
        const __m256i num = _mm256_slli_epi16(d, 8);
        const __m256i den = _mm256_sub_epi16(w16(256), s);
        const __m256i cap = _mm256_set1_epi32(255);
        const __m256i lo = _mm256_min_epi32(
            quotientW(_mm256_unpacklo_epi16(num, zero), _mm256_unpacklo_epi16(den, zero)), cap);
        const __m256i hi = _mm256_min_epi32(
            quotientW(_mm256_unpackhi_epi16(num, zero), _mm256_unpackhi_epi16(den, zero)), cap);
        return _mm256_packs_epi32(lo, hi);  // in-lane, undoing the unpacks
    }
};
struct WBurn {
    using Scalar = blendmode::Burn;
    BLEND_AVX2 static __m256i f(__m256i d, __m256i s) {
        const __m256i zero = _mm256_setzero_si256();
        const __m256i num = _mm256_slli_epi16(_mm256_sub_epi16(w16(255), d), 8);
        const __m256i den = _mm256_add_epi16(s, w16(1));
        const __m256i top = _mm256_set1_epi32(255);
        const __m256i lo = _mm256_sub_epi32(
            top, quotientW(_mm256_unpacklo_epi16(num, zero), _mm256_unpacklo_epi16(den, zero)));
        const __m256i hi = _mm256_sub_epi32(
            top, quotientW(_mm256_unpackhi_epi16(num, zero), _mm256_unpackhi_epi16(den, zero)));
        return _mm256_packs_epi32(_mm256_max_epi32(lo, zero), _mm256_max_epi32(hi, zero));
    }
};
struct WDarken {
    using Scalar = blendmode::Darken;
    BLEND_AVX2 static __m256i f(__m256i d, __m256i s) { return _mm256_min_epi16(d, s); }
};
struct WLighten {
    using Scalar = blendmode::Lighten;
    BLEND_AVX2 static __m256i f(__m256i d, __m256i s) { return _mm256_max_epi16(d, s); }
};
struct WDifference {
    using Scalar = blendmode::Difference;
    BLEND_AVX2 static __m256i f(__m256i d, __m256i s) { return _mm256_abs_epi16(_mm256_sub_epi16(d, s)); }
};
struct WExclusion {
    using Scalar = blendmode::Exclusion;
    BLEND_AVX2 static __m256i f(__m256i d, __m256i s) {
        const __m256i p = _mm256_mullo_epi16(_mm256_sub_epi16(w16(127), d), _mm256_sub_epi16(w16(127), s));
        return _mm256_abs_epi16(_mm256_sub_epi16(_mm256_srai_epi16(p, 7), w16(127)));
    }
};
struct WHardlight {
    using Scalar = blendmode::Hardlight;
    BLEND_AVX2 static __m256i f(__m256i d, __m256i s) {
        const __m256i low = _mm256_srli_epi16(_mm256_mullo_epi16(d, s), 7);
        const __m256i inv = _mm256_mullo_epi16(_mm256_sub_epi16(w16(255), d), _mm256_sub_epi16(w16(255), s));
        const __m256i high = _mm256_srli_epi16(_mm256_sub_epi16(w16(32512), inv), 7);
        return _mm256_blendv_epi8(high, low, _mm256_cmpgt_epi16(w16(128), s));
    }
};
struct WSoftlight {
    using Scalar = blendmode::Softlight;
    BLEND_AVX2 static __m256i f(__m256i d, __m256i s) {
        const __m256i invD = _mm256_sub_epi16(w16(255), d);
        const __m256i screenInv = div255w(_mm256_mullo_epi16(invD, _mm256_sub_epi16(w16(255), s)));
        const __m256i a = div255w(_mm256_mullo_epi16(d, _mm256_sub_epi16(w16(255), screenInv)));
        const __m256i b = div255w(_mm256_mullo_epi16(invD, div255w(_mm256_mullo_epi16(d, s))));
        return _mm256_add_epi16(a, b);
    }
};

template <class W>
BLEND_AVX2 inline __m256i applyWeightedW(__m256i d, __m256i s, __m256i w) {
    if (W::Scalar::kScalesSource) return W::f(d, div255w(_mm256_mullo_epi16(s, w)));
    return overWeightedW(d, W::f(d, s), w);
}
BLEND_AVX2 inline __m256i evenBytes(__m256i v) { return _mm256_and_si256(v, w16(0xFF)); }
BLEND_AVX2 inline __m256i oddBytes(__m256i v) { return _mm256_srli_epi16(v, 8); }
BLEND_AVX2 inline __m256i joinBytes(__m256i even, __m256i odd) {
    return _mm256_or_si256(even, _mm256_slli_epi16(odd, 8));
}
// 32 bytes at full weight, weighted by 32 weights, or weighted by one weight (16-bit lanes).
template <class W>
BLEND_AVX2 inline __m256i full32(__m256i d, __m256i s) {
    return joinBytes(W::f(evenBytes(d), evenBytes(s)), W::f(oddBytes(d), oddBytes(s)));
}
template <class W>
BLEND_AVX2 inline __m256i weighted32(__m256i d, __m256i s, __m256i w) {
    return joinBytes(applyWeightedW<W>(evenBytes(d), evenBytes(s), evenBytes(w)),
                     applyWeightedW<W>(oddBytes(d), oddBytes(s), oddBytes(w)));
}
template <class W>
BLEND_AVX2 inline __m256i weighted32By(__m256i d, __m256i s, __m256i w) {
    return joinBytes(applyWeightedW<W>(evenBytes(d), evenBytes(s), w), applyWeightedW<W>(oddBytes(d), oddBytes(s), w));
}

template <class V, class W, bool kWeighted>
BLEND_AVX2 bool avx3From3(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    if (!dst || !src) return false;
    const __m256i o16 = w16(static_cast<short>(o));
    const ptrdiff_t bytes = static_cast<ptrdiff_t>(w) * 3;
    const int rest = static_cast<int>(w - (bytes / 96) * 32);  // pixels after the last 32-pixel step
    for (int y = 0; y < h; ++y) {
        uint8_t* d = dst + static_cast<ptrdiff_t>(y) * dp * 3;
        const uint8_t* s = src + static_cast<ptrdiff_t>(y) * sp * 3;
        ptrdiff_t i = 0;
        for (; i + 96 <= bytes; i += 96) {
            for (int k = 0; k < 3; ++k) {
                __m256i* q = reinterpret_cast<__m256i*>(d + i) + k;
                const __m256i dv = _mm256_loadu_si256(q);
                const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i) + k);
                _mm256_storeu_si256(q, kWeighted ? weighted32By<W>(dv, sv, o16) : full32<W>(dv, sv));
            }
        }
        if (rest) vector3From3<V, kWeighted>(d + i, s + i, dp, sp, rest, 1, o);
    }
    return true;
}

template <class V, class W, bool kOpacity>
BLEND_AVX2 bool avx3From4(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    if (!dst || !src) return false;
    const __m256i alphaMask = _mm256_set1_epi32(0xFF);
    const __m256i o16 = w16(static_cast<short>(o));
    const int blocks = w / 32;
    for (int y = 0; y < h; ++y) {
        uint8_t* d = dst + static_cast<ptrdiff_t>(y) * dp * 3;
        const uint8_t* s = src + static_cast<ptrdiff_t>(y) * sp * 4;
        for (int b = 0; b < blocks; ++b, d += 96, s += 128) {
            const Pixels32 v = load32(s);
            const __m256i any = _mm256_or_si256(_mm256_or_si256(v.v0, v.v1), _mm256_or_si256(v.v2, v.v3));
            if (_mm256_testz_si256(any, alphaMask)) continue;  // weight 0 everywhere: unchanged
            const Packed96 colour = packColour(v);
            const __m256i all = _mm256_and_si256(_mm256_and_si256(v.v0, v.v1), _mm256_and_si256(v.v2, v.v3));
            __m256i* q = reinterpret_cast<__m256i*>(d);
            const __m256i e0 = _mm256_loadu_si256(q), e1 = _mm256_loadu_si256(q + 1), e2 = _mm256_loadu_si256(q + 2);
            if (!kOpacity && _mm256_testc_si256(all, alphaMask)) {  // weight 255 gives f itself
                _mm256_storeu_si256(q, full32<W>(e0, colour.p0));
                _mm256_storeu_si256(q + 1, full32<W>(e1, colour.p1));
                _mm256_storeu_si256(q + 2, full32<W>(e2, colour.p2));
                continue;
            }
            const Packed96 weight =
                kOpacity ? packFirstByte(Pixels32{scaledAlpha32(v.v0, o16), scaledAlpha32(v.v1, o16),
                                                  scaledAlpha32(v.v2, o16), scaledAlpha32(v.v3, o16)})
                         : packFirstByte(v);
            _mm256_storeu_si256(q, weighted32<W>(e0, colour.p0, weight.p0));
            _mm256_storeu_si256(q + 1, weighted32<W>(e1, colour.p1, weight.p1));
            _mm256_storeu_si256(q + 2, weighted32<W>(e2, colour.p2, weight.p2));
        }
        const int done = blocks * 32;
        if (done < w) vector3From4<V, kOpacity>(d, s, dp, sp, w - done, 1, o);
    }
    return true;
}

using Kernel = bool (*)(uint8_t*, const uint8_t*, int, int, int, int, int);

// K<V, W, flag>::run for a mode: V its 8-lane form, W its 16-lane form.
template <template <class, class, bool> class K, bool kFlag>
Kernel kernelFor(uint8_t mode) {
    switch (mode) {
        case kBlendNormal: return K<VNormal, WNormal, kFlag>::run;
        case kBlendAdd: return K<VAdd, WAdd, kFlag>::run;
        case kBlendSub: return K<VSub, WSub, kFlag>::run;
        case kBlendMulti: return K<VMulti, WMulti, kFlag>::run;
        case kBlendScreen: return K<VScreen, WScreen, kFlag>::run;
        case kBlendOverlay: return K<VOverlay, WOverlay, kFlag>::run;
        case kBlendDodge: return K<VDodge, WDodge, kFlag>::run;
        case kBlendBurn: return K<VBurn, WBurn, kFlag>::run;
        case kBlendDarken: return K<VDarken, WDarken, kFlag>::run;
        case kBlendLighten: return K<VLighten, WLighten, kFlag>::run;
        case kBlendDifference: return K<VDifference, WDifference, kFlag>::run;
        case kBlendExclusion: return K<VExclusion, WExclusion, kFlag>::run;
        case kBlendHardlight: return K<VHardlight, WHardlight, kFlag>::run;
        case kBlendSoftlight: return K<VSoftlight, WSoftlight, kFlag>::run;
        default: return nullptr;
    }
}
template <class V, class, bool kFlag>
struct From3 {
    static bool run(uint8_t* d, const uint8_t* s, int dp, int sp, int w, int h, int o) {
        return vector3From3<V, kFlag>(d, s, dp, sp, w, h, o);
    }
};
template <class V, class, bool kFlag>
struct From4 {
    static bool run(uint8_t* d, const uint8_t* s, int dp, int sp, int w, int h, int o) {
        return vector3From4<V, kFlag>(d, s, dp, sp, w, h, o);
    }
};
template <class V, class W, bool kFlag>
struct Avx2From3 {
    static bool run(uint8_t* d, const uint8_t* s, int dp, int sp, int w, int h, int o) {
        return avx3From3<V, W, kFlag>(d, s, dp, sp, w, h, o);
    }
};
template <class V, class W, bool kFlag>
struct Avx2From4 {
    static bool run(uint8_t* d, const uint8_t* s, int dp, int sp, int w, int h, int o) {
        return avx3From4<V, W, kFlag>(d, s, dp, sp, w, h, o);
    }
};

// The widest loop the processor runs, no wider than asked for: 2 AVX2, 1 SSE4.1, 0 none.
int widthFor(int widest) {
    if (widest >= 2 && avx2Available()) return 2;
    if (widest >= 1 && simdAvailable()) return 1;
    return 0;
}

using ScalarFull = bool (*)(uint8_t*, const uint8_t*, int, int, int, int, uint8_t);
using ScalarWeighted = bool (*)(uint8_t*, const uint8_t*, int, int, int, int, int, uint8_t);

template <bool kFour>
bool runFull(int widest, uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, uint8_t mode) {
    const int width = widthFor(widest);
    const ScalarFull scalar = kFour ? blend24From32Scalar : blend24From24Scalar;
    if (width == 0) return scalar(dst, src, dp, sp, w, h, mode);
    const Kernel k = width == 2 ? (kFour ? kernelFor<Avx2From4, false>(mode) : kernelFor<Avx2From3, false>(mode))
                                : (kFour ? kernelFor<From4, false>(mode) : kernelFor<From3, false>(mode));
    return k && k(dst, src, dp, sp, w, h, 255);
}
template <bool kFour>
bool runWeighted(int widest, uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o, uint8_t mode) {
    const int width = widthFor(widest);
    const ScalarWeighted scalar = kFour ? blendOpacity24From32Scalar : blendOpacity24From24Scalar;
    if (width == 0) return scalar(dst, src, dp, sp, w, h, o, mode);
    const Kernel k = width == 2 ? (kFour ? kernelFor<Avx2From4, true>(mode) : kernelFor<Avx2From3, true>(mode))
                                : (kFour ? kernelFor<From4, true>(mode) : kernelFor<From3, true>(mode));
    return k && k(dst, src, dp, sp, w, h, o);
}

BLEND_TARGET void blendWeight16Vector(const uint8_t* a, int o, uint8_t* out) {
    const __m128i r = scaledWeight(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a)),
                                   _mm_set1_epi16(static_cast<short>(o)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), r);
}

}  // namespace

#define MORVANE_BLEND_FORMS(suffix, widest)                                                                    \
    bool blend24From24##suffix(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, uint8_t mode) { \
        return runFull<false>(widest, dst, src, dp, sp, w, h, mode);                                           \
    }                                                                                                          \
    bool blend24From32##suffix(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, uint8_t mode) { \
        return runFull<true>(widest, dst, src, dp, sp, w, h, mode);                                            \
    }                                                                                                          \
    bool blendOpacity24From24##suffix(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o,   \
                                      uint8_t mode) {                                                          \
        return runWeighted<false>(widest, dst, src, dp, sp, w, h, o, mode);                                    \
    }                                                                                                          \
    bool blendOpacity24From32##suffix(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o,   \
                                      uint8_t mode) {                                                          \
        return runWeighted<true>(widest, dst, src, dp, sp, w, h, o, mode);                                     \
    }
MORVANE_BLEND_FORMS(Simd, 2)
MORVANE_BLEND_FORMS(Sse41, 1)
MORVANE_BLEND_FORMS(Avx2, 2)
#undef MORVANE_BLEND_FORMS

void blendWeight16(const uint8_t alpha[16], int opacity, uint8_t out[16]) {
    if (simdAvailable()) return blendWeight16Vector(alpha, opacity, out);
    for (int i = 0; i < 16; ++i) out[i] = static_cast<uint8_t>(div255(opacity * alpha[i]));
}

#else  // no vector forms on this processor

#define MORVANE_BLEND_FORMS(suffix)                                                                            \
    bool blend24From24##suffix(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, uint8_t mode) { \
        return blend24From24Scalar(dst, src, dp, sp, w, h, mode);                                              \
    }                                                                                                          \
    bool blend24From32##suffix(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, uint8_t mode) { \
        return blend24From32Scalar(dst, src, dp, sp, w, h, mode);                                              \
    }                                                                                                          \
    bool blendOpacity24From24##suffix(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o,   \
                                      uint8_t mode) {                                                          \
        return blendOpacity24From24Scalar(dst, src, dp, sp, w, h, o, mode);                                    \
    }                                                                                                          \
    bool blendOpacity24From32##suffix(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o,   \
                                      uint8_t mode) {                                                          \
        return blendOpacity24From32Scalar(dst, src, dp, sp, w, h, o, mode);                                    \
    }
MORVANE_BLEND_FORMS(Simd)
MORVANE_BLEND_FORMS(Sse41)
MORVANE_BLEND_FORMS(Avx2)
#undef MORVANE_BLEND_FORMS
void blendWeight16(const uint8_t alpha[16], int opacity, uint8_t out[16]) {
    for (int i = 0; i < 16; ++i) out[i] = static_cast<uint8_t>(div255(opacity * alpha[i]));
}
#endif
