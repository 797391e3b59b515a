// Scalar blend loops: one per pair of pixel formats, mode and weighting, the mode's arithmetic
// inline. The weight is the opacity for 1- and 3-byte sources and the source alpha (times the
// opacity) for 4-byte ones; a weight of 0 leaves a pixel as it is and 255 gives f itself, in every
// mode. A 4-byte destination's alpha byte is neither read nor written.
#include "graphics/blendKernels.h"

#include "graphics/blendModes.h"
#include "graphics/blendSimd.h"
#include "graphics/kernelLoop.h"
#include "graphics/kernelSimd.h"

namespace {

// The source value laid on destination colour byte k of a DB-byte destination (k = 0 for grey,
// 0..2 for 3-byte and 1..3 for 4-byte destinations).
template <int DB, int SB>
inline int sourceValue(const uint8_t* s, int k) {
    if (SB == 1) return s[0];
    if (DB == 1) return SB == 3 ? greyOfBgr(s) : greyOfBgr(s + 1);
    if (DB == 3) return SB == 3 ? s[k] : s[k + 1];
    return SB == 3 ? s[k - 1] : s[k];  // DB == 4
}

template <int DB>
struct ColourBytes {
    static constexpr int kFirst = DB == 4 ? 1 : 0;
    static constexpr int kEnd = DB == 1 ? 1 : DB;
};

template <int DB, int SB, class Mode, bool kOpacity>
bool blendLoop(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int opacity) {
    if (!dst || !src) return false;
    using Bytes = ColourBytes<DB>;
    if (!kOpacity && SB != 4) {
        return forEachPixel<DB, SB>(dst, src, dp, sp, w, h, [](uint8_t* d, const uint8_t* s) {
            if (SB == 1) {
                const int v = s[0];
                for (int k = Bytes::kFirst; k < Bytes::kEnd; ++k) d[k] = blendmode::full<Mode>(d[k], v);
            } else {
                for (int k = Bytes::kFirst; k < Bytes::kEnd; ++k)
                    d[k] = blendmode::full<Mode>(d[k], sourceValue<DB, SB>(s, k));
            }
        });
    }
    return forEachPixel<DB, SB>(dst, src, dp, sp, w, h, [opacity](uint8_t* d, const uint8_t* s) {
        const int wt = SB == 4 ? (kOpacity ? div255(opacity * s[0]) : s[0]) : opacity;
        if (wt == 0) return;
        for (int k = Bytes::kFirst; k < Bytes::kEnd; ++k)
            d[k] = blendmode::weighted<Mode>(d[k], sourceValue<DB, SB>(s, k), wt);
    });
}

template <int DB, int SB, bool kOpacity>
bool blendSwitch(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o, uint8_t mode) {
    using namespace blendmode;
    switch (mode) {
        case kBlendNormal: return blendLoop<DB, SB, Normal, kOpacity>(dst, src, dp, sp, w, h, o);
        case kBlendAdd: return blendLoop<DB, SB, Add, kOpacity>(dst, src, dp, sp, w, h, o);
        case kBlendSub: return blendLoop<DB, SB, Sub, kOpacity>(dst, src, dp, sp, w, h, o);
        case kBlendMulti: return blendLoop<DB, SB, Multi, kOpacity>(dst, src, dp, sp, w, h, o);
        case kBlendScreen: return blendLoop<DB, SB, Screen, kOpacity>(dst, src, dp, sp, w, h, o);
        case kBlendOverlay: return blendLoop<DB, SB, Overlay, kOpacity>(dst, src, dp, sp, w, h, o);
        case kBlendDodge: return blendLoop<DB, SB, Dodge, kOpacity>(dst, src, dp, sp, w, h, o);
        case kBlendBurn: return blendLoop<DB, SB, Burn, kOpacity>(dst, src, dp, sp, w, h, o);
        case kBlendDarken: return blendLoop<DB, SB, Darken, kOpacity>(dst, src, dp, sp, w, h, o);
        case kBlendLighten: return blendLoop<DB, SB, Lighten, kOpacity>(dst, src, dp, sp, w, h, o);
        case kBlendDifference: return blendLoop<DB, SB, Difference, kOpacity>(dst, src, dp, sp, w, h, o);
        case kBlendExclusion: return blendLoop<DB, SB, Exclusion, kOpacity>(dst, src, dp, sp, w, h, o);
        case kBlendHardlight: return blendLoop<DB, SB, Hardlight, kOpacity>(dst, src, dp, sp, w, h, o);
        case kBlendSoftlight: return blendLoop<DB, SB, Softlight, kOpacity>(dst, src, dp, sp, w, h, o);
        default: return false;
    }
}

}  // namespace

uint8_t blendByte(int mode, int d, int s) {
    uint8_t dst = static_cast<uint8_t>(d);
    const uint8_t src = static_cast<uint8_t>(s);
    blendSwitch<1, 1, false>(&dst, &src, 1, 1, 1, 1, 255, static_cast<uint8_t>(mode));
    return dst;
}

uint8_t blendByteWeighted(int mode, int d, int s, int w) {
    uint8_t dst = static_cast<uint8_t>(d);
    const uint8_t src = static_cast<uint8_t>(s);
    blendSwitch<1, 1, true>(&dst, &src, 1, 1, 1, 1, w, static_cast<uint8_t>(mode));
    return dst;
}

#define MORVANE_BLEND_PAIR(name, opacityName, DB, SB)                                                  \
    bool name(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, uint8_t mode) {           \
        return blendSwitch<DB, SB, false>(dst, src, dp, sp, w, h, 255, mode);                           \
    }                                                                                                  \
    bool opacityName(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o, uint8_t mode) { \
        return blendSwitch<DB, SB, true>(dst, src, dp, sp, w, h, o, mode);                              \
    }

MORVANE_BLEND_PAIR(blend8From8, blendOpacity8From8, 1, 1)
MORVANE_BLEND_PAIR(blend8From24, blendOpacity8From24, 1, 3)
MORVANE_BLEND_PAIR(blend8From32, blendOpacity8From32, 1, 4)
MORVANE_BLEND_PAIR(blend24From8, blendOpacity24From8, 3, 1)
MORVANE_BLEND_PAIR(blend24From24Scalar, blendOpacity24From24Scalar, 3, 3)
MORVANE_BLEND_PAIR(blend24From32Scalar, blendOpacity24From32Scalar, 3, 4)
MORVANE_BLEND_PAIR(blend32From8, blendOpacity32From8, 4, 1)
MORVANE_BLEND_PAIR(blend32From24, blendOpacity32From24, 4, 3)
MORVANE_BLEND_PAIR(blend32From32, blendOpacity32From32, 4, 4)
#undef MORVANE_BLEND_PAIR

// The 3-byte destinations from 3- and 4-byte sources take the vector forms where the processor has
// them.
bool blend24From24(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, uint8_t mode) {
    if (simdAvailable()) return blend24From24Simd(dst, src, dp, sp, w, h, mode);
    return blend24From24Scalar(dst, src, dp, sp, w, h, mode);
}
bool blend24From32(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, uint8_t mode) {
    if (simdAvailable()) return blend24From32Simd(dst, src, dp, sp, w, h, mode);
    return blend24From32Scalar(dst, src, dp, sp, w, h, mode);
}
bool blendOpacity24From24(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o, uint8_t mode) {
    if (simdAvailable()) return blendOpacity24From24Simd(dst, src, dp, sp, w, h, o, mode);
    return blendOpacity24From24Scalar(dst, src, dp, sp, w, h, o, mode);
}
bool blendOpacity24From32(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o, uint8_t mode) {
    if (simdAvailable()) return blendOpacity24From32Simd(dst, src, dp, sp, w, h, o, mode);
    return blendOpacity24From32Scalar(dst, src, dp, sp, w, h, o, mode);
}
