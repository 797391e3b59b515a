// The vector kernels against the scalar ones: random spans of every width up to a few blocks, with
// tails, pitches wider than the span, and runs of transparent and opaque pixels.
#include <cstdint>
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
                default: break;
            }
        }
    }
    im.dstB = im.dstA;
    return im;
}
}  // namespace

TEST(SimdKernels, MatchTheScalarKernels) {
    std::mt19937 rng(1234);
    for (int w = 1; w <= 70; ++w) {
        for (int mode = 0; mode < 4; ++mode) {
            const int h = 3, dp = w + 5, sp = w + 3;
            Images im = makeImages(rng, dp * h * 3, sp * h * 4, 4, mode);
            plain34Simd(im.dstA.data(), im.src.data(), dp, sp, w, h);
            plain34Scalar(im.dstB.data(), im.src.data(), dp, sp, w, h);
            ASSERT_EQ(im.dstB, im.dstA) << "plain 3<-4 width " << w << " mode " << mode;
            for (int opacity : {1, 77, 128, 254}) {
                im = makeImages(rng, dp * h * 3, sp * h * 4, 4, mode);
                opacity34Simd(im.dstA.data(), im.src.data(), dp, sp, w, h, opacity);
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
