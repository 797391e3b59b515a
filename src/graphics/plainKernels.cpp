// Plain (full opacity) kernels. A source with alpha is laid over with its alpha as the weight; a
// destination with alpha takes the union of both alphas. Alpha 0 leaves a pixel exactly as it is
// and alpha 255 copies exactly, so both are taken as shortcuts.
#include <cstddef>
#include <cstring>

#include "graphics/blitKernels.h"
#include "graphics/kernelSimd.h"
#include "graphics/kernelLoop.h"
#include "graphics/pixelMath.h"

namespace {

bool copyRows(uint8_t* dst, const uint8_t* src, int dstPitch, int srcPitch, int w, int h,
              int bpp) {
    const size_t row = static_cast<size_t>(w) * bpp;
    for (int y = 0; y < h; ++y)
        std::memcpy(dst + static_cast<ptrdiff_t>(y) * dstPitch * bpp,
                    src + static_cast<ptrdiff_t>(y) * srcPitch * bpp, row);
    return true;
}

bool plain11(uint8_t* d, const uint8_t* s, int dp, int sp, int w, int h) {
    return copyRows(d, s, dp, sp, w, h, 1);
}
bool plain12(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    return forEachPixel<1, 2>(dst, src, dp, sp, w, h, [](uint8_t* d, const uint8_t* s) {
        if (s[0]) d[0] = alphaOver(d[0], s[1], s[0]);
    });
}
bool plain13(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    return forEachPixel<1, 3>(dst, src, dp, sp, w, h,
                              [](uint8_t* d, const uint8_t* s) { d[0] = greyOfBgr(s); });
}
bool plain14(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    return forEachPixel<1, 4>(dst, src, dp, sp, w, h, [](uint8_t* d, const uint8_t* s) {
        if (s[0]) d[0] = alphaOver(d[0], greyOfBgr(s + 1), s[0]);
    });
}

bool plain21(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    return forEachPixel<2, 1>(dst, src, dp, sp, w, h, [](uint8_t* d, const uint8_t* s) {
        d[0] = 255;
        d[1] = s[0];
    });
}
bool plain22(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    return forEachPixel<2, 2>(dst, src, dp, sp, w, h, [](uint8_t* d, const uint8_t* s) {
        const int a = s[0];
        if (!a) return;
        d[0] = alphaUnion(d[0], a);
        d[1] = alphaOver(d[1], s[1], a);
    });
}
bool plain23(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    return forEachPixel<2, 3>(dst, src, dp, sp, w, h, [](uint8_t* d, const uint8_t* s) {
        d[0] = 255;
        d[1] = greyOfBgr(s);
    });
}
bool plain24(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    return forEachPixel<2, 4>(dst, src, dp, sp, w, h, [](uint8_t* d, const uint8_t* s) {
        const int a = s[0];
        if (!a) return;
        d[0] = alphaUnion(d[0], a);
        d[1] = alphaOver(d[1], greyOfBgr(s + 1), a);
    });
}

bool plain31(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    return forEachPixel<3, 1>(dst, src, dp, sp, w, h, [](uint8_t* d, const uint8_t* s) {
        d[0] = d[1] = d[2] = s[0];
    });
}
bool plain32(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    return forEachPixel<3, 2>(dst, src, dp, sp, w, h, [](uint8_t* d, const uint8_t* s) {
        const int a = s[0];
        if (!a) return;
        for (int k = 0; k < 3; ++k) d[k] = alphaOver(d[k], s[1], a);
    });
}
bool plain33(uint8_t* d, const uint8_t* s, int dp, int sp, int w, int h) {
    return copyRows(d, s, dp, sp, w, h, 3);
}
bool plain34(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    if (simdAvailable()) return plain34Simd(dst, src, dp, sp, w, h);
    return plain34Scalar(dst, src, dp, sp, w, h);
}

bool plain41(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    return forEachPixel<4, 1>(dst, src, dp, sp, w, h, [](uint8_t* d, const uint8_t* s) {
        d[0] = 255;
        d[1] = d[2] = d[3] = s[0];
    });
}
bool plain42(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    return forEachPixel<4, 2>(dst, src, dp, sp, w, h, [](uint8_t* d, const uint8_t* s) {
        const int a = s[0];
        if (!a) return;
        d[0] = alphaUnion(d[0], a);
        for (int k = 1; k < 4; ++k) d[k] = alphaOver(d[k], s[1], a);
    });
}
bool plain43(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    return forEachPixel<4, 3>(dst, src, dp, sp, w, h, [](uint8_t* d, const uint8_t* s) {
        d[0] = 255;
        d[1] = s[0];
        d[2] = s[1];
        d[3] = s[2];
    });
}
bool plain44(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    return forEachPixel<4, 4>(dst, src, dp, sp, w, h, [](uint8_t* d, const uint8_t* s) {
        const int a = s[0];
        if (!a) return;
        d[0] = alphaUnion(d[0], a);
        for (int k = 1; k < 4; ++k) d[k] = alphaOver(d[k], s[k], a);
    });
}

}  // namespace

bool plain34Scalar(uint8_t* dst, const uint8_t* src, int dp, int sp, int w, int h) {
    return forEachPixel<3, 4>(dst, src, dp, sp, w, h, [](uint8_t* d, const uint8_t* s) {
        const int a = s[0];
        if (a == 0) return;
        if (a == 255) {
            d[0] = s[1];
            d[1] = s[2];
            d[2] = s[3];
            return;
        }
        for (int k = 0; k < 3; ++k) d[k] = alphaOver(d[k], s[k + 1], a);
    });
}

PlainKernel plainKernelFor(int key) {
    switch (key) {
        case 0x11: return plain11;
        case 0x12: return plain12;
        case 0x13: return plain13;
        case 0x14: return plain14;
        case 0x21: return plain21;
        case 0x22: return plain22;
        case 0x23: return plain23;
        case 0x24: return plain24;
        case 0x31: return plain31;
        case 0x32: return plain32;
        case 0x33: return plain33;
        case 0x34: return plain34;
        case 0x41: return plain41;
        case 0x42: return plain42;
        case 0x43: return plain43;
        case 0x44: return plain44;
        default: return nullptr;
    }
}
