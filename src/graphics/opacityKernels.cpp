// Opacity kernels: the source laid over with weight w, the opacity for sources without alpha and
// div255(opacity x alpha) for sources with alpha; a destination with alpha takes U(d0, w). A weight
// of 0 leaves a pixel exactly as it is.
#include "graphics/blitKernels.h"
#include "graphics/kernelLoop.h"
#include "graphics/kernelSimd.h"
#include "graphics/pixelMath.h"

namespace {

// Source value (grey or colour byte k) and weight per source format.
struct Src1 {
    static int weight(const uint8_t*, int o) { return o; }
    static int grey(const uint8_t* s) { return s[0]; }
    static int colour(const uint8_t* s, int) { return s[0]; }
};
struct Src2 {
    static int weight(const uint8_t* s, int o) { return div255(o * s[0]); }
    static int grey(const uint8_t* s) { return s[1]; }
    static int colour(const uint8_t* s, int) { return s[1]; }
};
struct Src3 {
    static int weight(const uint8_t*, int o) { return o; }
    static int grey(const uint8_t* s) { return greyOfBgr(s); }
    static int colour(const uint8_t* s, int k) { return s[k]; }  // k = 0..2: blue, green, red
};
struct Src4 {
    static int weight(const uint8_t* s, int o) { return div255(o * s[0]); }
    static int grey(const uint8_t* s) { return greyOfBgr(s + 1); }
    static int colour(const uint8_t* s, int k) { return s[k + 1]; }
};

template <class S, int SB>
bool onto1(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    return forEachPixel<1, SB>(dst, src, dp, sp, w, h, [o](uint8_t* d, const uint8_t* s) {
        const int wt = S::weight(s, o);
        if (wt) d[0] = alphaOver(d[0], S::grey(s), wt);
    });
}
template <class S, int SB>
bool onto2(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    return forEachPixel<2, SB>(dst, src, dp, sp, w, h, [o](uint8_t* d, const uint8_t* s) {
        const int wt = S::weight(s, o);
        if (!wt) return;
        d[0] = alphaUnion(d[0], wt);
        d[1] = alphaOver(d[1], S::grey(s), wt);
    });
}
template <class S, int SB>
bool onto3(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    return forEachPixel<3, SB>(dst, src, dp, sp, w, h, [o](uint8_t* d, const uint8_t* s) {
        const int wt = S::weight(s, o);
        if (!wt) return;
        for (int k = 0; k < 3; ++k) d[k] = alphaOver(d[k], S::colour(s, k), wt);
    });
}
template <class S, int SB>
bool onto4(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    return forEachPixel<4, SB>(dst, src, dp, sp, w, h, [o](uint8_t* d, const uint8_t* s) {
        const int wt = S::weight(s, o);
        if (!wt) return;
        d[0] = alphaUnion(d[0], wt);
        for (int k = 1; k < 4; ++k) d[k] = alphaOver(d[k], S::colour(s, k - 1), wt);
    });
}

bool opacity33(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    if (simdAvailable()) return opacity33Simd(dst, src, dp, sp, w, h, o);
    return onto3<Src3, 3>(dst, src, dp, sp, w, h, o);
}
bool opacity34(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    if (simdAvailable()) return opacity34Simd(dst, src, dp, sp, w, h, o);
    return onto3<Src4, 4>(dst, src, dp, sp, w, h, o);
}

}  // namespace

bool opacity33Scalar(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    return onto3<Src3, 3>(dst, src, dp, sp, w, h, o);
}
bool opacity34Scalar(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h, int o) {
    return onto3<Src4, 4>(dst, src, dp, sp, w, h, o);
}

OpacityKernel opacityKernelFor(int key) {
    switch (key) {
        case 0x11: return onto1<Src1, 1>;
        case 0x12: return onto1<Src2, 2>;
        case 0x13: return onto1<Src3, 3>;
        case 0x14: return onto1<Src4, 4>;
        case 0x21: return onto2<Src1, 1>;
        case 0x22: return onto2<Src2, 2>;
        case 0x23: return onto2<Src3, 3>;
        case 0x24: return onto2<Src4, 4>;
        case 0x31: return onto3<Src1, 1>;
        case 0x32: return onto3<Src2, 2>;
        case 0x33: return opacity33;
        case 0x34: return opacity34;
        case 0x41: return onto4<Src1, 1>;
        case 0x42: return onto4<Src2, 2>;
        case 0x43: return onto4<Src3, 3>;
        case 0x44: return onto4<Src4, 4>;
        default: return nullptr;
    }
}
