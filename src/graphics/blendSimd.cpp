// Vector blend loops: eight 16-bit lanes per step, every product below 65,536. div255 of such a
// product is ((t + 128) x 257) >> 16, one unsigned high multiply; the weighted form
// d + div255((f - d) x w) takes |f - d| x w and its sign (div255 of -p is -(((p + 127) x 257) >> 16));
// Dodge and Burn divide in single precision and truncate, which is exact for quotients of integers
// below 2^17. Tails shorter than a step run the same arithmetic on single bytes.
#include "graphics/blendSimd.h"

#include <cstddef>

#include "graphics/blendKernels.h"
#include "graphics/blendModes.h"
#include "graphics/kernelSimd.h"
#include "graphics/pixelMath.h"
#include "graphics/simdPixelOps.h"

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

using Kernel = bool (*)(uint8_t*, const uint8_t*, int, int, int, int, int);

template <template <class, bool> class K, bool kFlag>
Kernel kernelFor(uint8_t mode) {
    switch (mode) {
        case kBlendNormal: return K<VNormal, kFlag>::run;
        case kBlendAdd: return K<VAdd, kFlag>::run;
        case kBlendSub: return K<VSub, kFlag>::run;
        case kBlendMulti: return K<VMulti, kFlag>::run;
        case kBlendScreen: return K<VScreen, kFlag>::run;
        case kBlendOverlay: return K<VOverlay, kFlag>::run;
        case kBlendDodge: return K<VDodge, kFlag>::run;
        case kBlendBurn: return K<VBurn, kFlag>::run;
        case kBlendDarken: return K<VDarken, kFlag>::run;
        case kBlendLighten: return K<VLighten, kFlag>::run;
        case kBlendDifference: return K<VDifference, kFlag>::run;
        case kBlendExclusion: return K<VExclusion, kFlag>::run;
        case kBlendHardlight: return K<VHardlight, kFlag>::run;
        case kBlendSoftlight: return K<VSoftlight, kFlag>::run;
        default: return nullptr;
    }
}
template <class V, bool kFlag>
struct From3 {
    static bool run(uint8_t* d, const uint8_t* s, int dp, int sp, int w, int h, int o) {
        return vector3From3<V, kFlag>(d, s, dp, sp, w, h, o);
    }
};
template <class V, bool kFlag>
struct From4 {
    static bool run(uint8_t* d, const uint8_t* s, int dp, int sp, int w, int h, int o) {
        return vector3From4<V, kFlag>(d, s, dp, sp, w, h, o);
    }
};

BLEND_TARGET void blendWeight16Vector(const uint8_t* a, int o, uint8_t* out) {
    const __m128i r = scaledWeight(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a)),
                                   _mm_set1_epi16(static_cast<short>(o)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), r);
}

}  // namespace

bool blend24From24Simd(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, uint8_t mode) {
    if (!simdAvailable()) return blend24From24Scalar(dst, src, dp, sp, w, h, mode);
    const Kernel k = kernelFor<From3, false>(mode);
    return k && k(dst, src, dp, sp, w, h, 255);
}
bool blend24From32Simd(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, uint8_t mode) {
    if (!simdAvailable()) return blend24From32Scalar(dst, src, dp, sp, w, h, mode);
    const Kernel k = kernelFor<From4, false>(mode);
    return k && k(dst, src, dp, sp, w, h, 255);
}
bool blendOpacity24From24Simd(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o,
                              uint8_t mode) {
    if (!simdAvailable()) return blendOpacity24From24Scalar(dst, src, dp, sp, w, h, o, mode);
    const Kernel k = kernelFor<From3, true>(mode);
    return k && k(dst, src, dp, sp, w, h, o);
}
bool blendOpacity24From32Simd(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o,
                              uint8_t mode) {
    if (!simdAvailable()) return blendOpacity24From32Scalar(dst, src, dp, sp, w, h, o, mode);
    const Kernel k = kernelFor<From4, true>(mode);
    return k && k(dst, src, dp, sp, w, h, o);
}
void blendWeight16(const uint8_t alpha[16], int opacity, uint8_t out[16]) {
    if (simdAvailable()) return blendWeight16Vector(alpha, opacity, out);
    for (int i = 0; i < 16; ++i) out[i] = static_cast<uint8_t>(div255(opacity * alpha[i]));
}

#else  // no vector forms on this processor

bool blend24From24Simd(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, uint8_t mode) {
    return blend24From24Scalar(dst, src, dp, sp, w, h, mode);
}
bool blend24From32Simd(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, uint8_t mode) {
    return blend24From32Scalar(dst, src, dp, sp, w, h, mode);
}
bool blendOpacity24From24Simd(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o,
                              uint8_t mode) {
    return blendOpacity24From24Scalar(dst, src, dp, sp, w, h, o, mode);
}
bool blendOpacity24From32Simd(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o,
                              uint8_t mode) {
    return blendOpacity24From32Scalar(dst, src, dp, sp, w, h, o, mode);
}
void blendWeight16(const uint8_t alpha[16], int opacity, uint8_t out[16]) {
    for (int i = 0; i < 16; ++i) out[i] = static_cast<uint8_t>(div255(opacity * alpha[i]));
}
#endif
