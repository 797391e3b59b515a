// The vector kernels (each instruction set the processor runs) against the scalar ones: random
// spans of every width up to a few blocks, with tails, pitches wider than the span, and runs of
// transparent and opaque pixels.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include "graphics/kernelSimd.h"
#include "graphics/pixelMath.h"
#include "testing.h"

namespace {
struct Images {
    std::vector<uint8_t> dstA, dstB, src;
};

Images makeImages(std::mt19937& rng, int dstBytes, int srcBytes, int srcBpp, int mode) {
    Images im;
    im.dstA.resize(dstBytes);
    im.src.resize(srcBytes);
    for (auto& b : im.dstA) b = static_cast<uint8_t>(rng());
    for (auto& b : im.src) b = static_cast<uint8_t>(rng());
    if (srcBpp == 4) {
        for (size_t i = 0; i < im.src.size(); i += 4) {
            size_t pixel = i / 4;
            switch (mode) {
                case 1: im.src[i] = 0; break;    // all transparent
                case 2: im.src[i] = 255; break;  // all opaque
                case 3: im.src[i] = (pixel / 16) % 3 == 0 ? 0 : (pixel / 16) % 3 == 1 ? 255 : im.src[i]; break;
                case 4: im.src[i] = (pixel / 32) % 3 == 0 ? 0 : (pixel / 32) % 3 == 1 ? 255 : im.src[i]; break;
                default: break;
            }
        }
    }
    im.dstB = im.dstA;
    return im;
}
}  // namespace

namespace {
using Plain = bool (*)(uint8_t*, const uint8_t*, int, int, int, int);
using Opacity = bool (*)(uint8_t*, const uint8_t*, int, int, int, int, int);
struct Form {
    const char* name;
    bool available;
    Plain plain34;
    Opacity opacity34;
};
// Each vector form of the 3 <- 4 kernels, and the one the kernel tables use.
std::vector<Form> forms() {
    return {{"sse4.1", simdAvailable(), plain34Sse41, opacity34Sse41},
            {"avx2", avx2Available(), plain34Avx2, opacity34Avx2},
            {"widest", true, plain34Simd, opacity34Simd}};
}
}  // namespace

TEST(SimdKernels, MatchTheScalarKernels) {
    for (const Form& form : forms()) {
        if (!form.available) {
            std::printf("processor without %s: its form is not checked\n", form.name);
            continue;
        }
        SCOPED_TRACE(form.name);
        std::mt19937 rng(1234);
        // Widths up to a few blocks of each form, so every block size meets every tail.
        for (int w = 1; w <= 140; ++w) {
            for (int mode = 0; mode < 5; ++mode) {
                const int h = 3, dp = w + 5, sp = w + 3;
                Images im = makeImages(rng, dp * h * 3, sp * h * 4, 4, mode);
                form.plain34(im.dstA.data(), im.src.data(), dp, sp, w, h);
                plain34Scalar(im.dstB.data(), im.src.data(), dp, sp, w, h);
                ASSERT_EQ(im.dstB, im.dstA) << "plain 3<-4 width " << w << " mode " << mode;
                for (int opacity : {1, 77, 128, 254}) {
                    im = makeImages(rng, dp * h * 3, sp * h * 4, 4, mode);
                    form.opacity34(im.dstA.data(), im.src.data(), dp, sp, w, h, opacity);
                    opacity34Scalar(im.dstB.data(), im.src.data(), dp, sp, w, h, opacity);
                    ASSERT_EQ(im.dstB, im.dstA) << "opacity 3<-4 width " << w << " o " << opacity;
                    im = makeImages(rng, dp * h * 3, sp * h * 3, 3, mode);
                    opacity33Simd(im.dstA.data(), im.src.data(), dp, sp, w, h, opacity);
                    opacity33Scalar(im.dstB.data(), im.src.data(), dp, sp, w, h, opacity);
                    ASSERT_EQ(im.dstB, im.dstA) << "opacity 3<-3 width " << w << " o " << opacity;
                }
            }
        }
    }
}

// Every opacity with every source alpha (one row of 256 pixels, alpha 0..255 in a shuffled order),
// over random colours: the weight and the blend of each form are those of the scalar kernel.
TEST(SimdKernels, EveryOpacityWithEveryAlpha) {
    for (const Form& form : forms()) {
        if (!form.available) continue;
        SCOPED_TRACE(form.name);
        std::mt19937 rng(555);
        std::vector<uint8_t> alphas(256);
        for (int i = 0; i < 256; ++i) alphas[i] = static_cast<uint8_t>(i);
        for (int opacity = 0; opacity <= 256; ++opacity) {
            std::shuffle(alphas.begin(), alphas.end(), rng);
            Images im = makeImages(rng, 256 * 3, 256 * 4, 4, 0);
            for (int i = 0; i < 256; ++i) im.src[i * 4] = alphas[i];
            if (opacity == 256) {
                form.plain34(im.dstA.data(), im.src.data(), 256, 256, 256, 1);
                plain34Scalar(im.dstB.data(), im.src.data(), 256, 256, 256, 1);
            } else {
                form.opacity34(im.dstA.data(), im.src.data(), 256, 256, 256, 1, opacity);
                opacity34Scalar(im.dstB.data(), im.src.data(), 256, 256, 256, 1, opacity);
            }
            ASSERT_EQ(im.dstB, im.dstA) << "opacity " << opacity;
        }
    }
}

TEST(SimdKernels, PatternOverMatchesTheScalarForm) {
    std::mt19937 rng(99);
    uint8_t pattern[48];
    for (int bpp = 1; bpp <= 4; ++bpp) {
        for (int i = 0; i < 48; ++i) pattern[i] = static_cast<uint8_t>(i < bpp ? rng() : pattern[i % bpp]);
        for (int w : {1, 5, 15, 16, 17, 47, 48, 49, 100}) {
            for (int a : {1, 100, 254}) {
                const int h = 3, pitch = w + 2;
                std::vector<uint8_t> one(pitch * h * bpp), two;
                for (auto& b : one) b = static_cast<uint8_t>(rng());
                two = one;
                overPatternSimd(one.data(), bpp, pitch, w, h, pattern, a);
                overPatternScalar(two.data(), bpp, pitch, w, h, pattern, a);
                ASSERT_EQ(two, one) << bpp << " " << w << " " << a;
                // And each byte as the formula gives it.
                std::vector<uint8_t> three(pitch * h * bpp);
                for (size_t i = 0; i < three.size(); ++i) three[i] = static_cast<uint8_t>(i * 13);
                std::vector<uint8_t> four = three;
                overPatternSimd(three.data(), bpp, pitch, w, h, pattern, a);
                for (int y = 0; y < h; ++y)
                    for (int i = 0; i < pitch * bpp; ++i) {
                        size_t at = size_t(y) * pitch * bpp + i;
                        int expected = i < w * bpp ? alphaOver(four[at], pattern[i % bpp], a) : four[at];
                        ASSERT_EQ(expected, three[at]);
                    }
            }
        }
    }
}
