// The pixel arithmetic against plain reference forms, over every argument it can meet.
#include <cstdint>

#include "graphics/kernelSimd.h"
#include "graphics/pixelMath.h"
#include "testing.h"

namespace {
// Floor division in 64 bits.
int64_t floorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}
// (t + 128 + floor((t + 128) / 256)) / 256, floored, in 64-bit arithmetic.
int referenceDiv255(int64_t t) {
    int64_t u = t + 128;
    return static_cast<int>(floorDiv(u + floorDiv(u, 256), 256));
}
}  // namespace

TEST(PixelMath, Div255MatchesTheReferenceOverEveryProduct) {
    for (int t = -255 * 255; t <= 255 * 255; ++t) ASSERT_EQ(referenceDiv255(t), div255(t)) << t;
    EXPECT_EQ(255, div255(255 * 255));
    EXPECT_EQ(-1, div255(-255));
    EXPECT_EQ(0, div255(-128));
    EXPECT_EQ(0, div255(127));
    EXPECT_EQ(1, div255(128));
}

TEST(PixelMath, AlphaOverAndUnionOverEveryArgument) {
    for (int d = 0; d < 256; ++d) {
        for (int w = 0; w < 256; ++w) {
            // U(d, a) = d + a - M(d a), always a byte.
            int u = d + w - referenceDiv255(int64_t(d) * w);
            ASSERT_GE(u, 0);
            ASSERT_LE(u, 255);
            ASSERT_EQ(u, alphaUnion(d, w));
            // The identity the alpha fills rely on.
            ASSERT_EQ(alphaUnion(d, w), alphaOver(d, 255, w));
            for (int s = 0; s < 256; ++s) {
                int o = d + referenceDiv255(int64_t(s - d) * w);
                ASSERT_GE(o, 0);
                ASSERT_LE(o, 255);
                ASSERT_EQ(o, alphaOver(d, s, w)) << d << " " << s << " " << w;
            }
        }
    }
    // The rounding case where d > s: O(1, 0, 128) = 1 + M(-128) = 1.
    EXPECT_EQ(1, alphaOver(1, 0, 128));
    EXPECT_EQ(255, alphaUnion(0, 255));
    EXPECT_EQ(77, alphaUnion(77, 0));
}

TEST(PixelMath, VectorAlphaOverIsBitExactOverEveryArgument) {
    uint8_t d[16], s[16], w[16], out[16];
    for (int dv = 0; dv < 256; ++dv) {
        for (int wv = 0; wv < 256; ++wv) {
            for (int s0 = 0; s0 < 256; s0 += 16) {
                for (int i = 0; i < 16; ++i) {
                    d[i] = static_cast<uint8_t>(dv);
                    w[i] = static_cast<uint8_t>(wv);
                    s[i] = static_cast<uint8_t>(s0 + i);
                }
                alphaOver16(d, s, w, out);
                for (int i = 0; i < 16; ++i)
                    ASSERT_EQ(alphaOver(dv, s0 + i, wv), out[i]) << dv << " " << s0 + i << " " << wv;
            }
        }
    }
}

TEST(PixelMath, WideVectorAlphaOverIsBitExactOverEveryArgument) {
    if (!avx2Available()) GTEST_SKIP() << "processor without AVX2";
    uint8_t d[32], s[32], w[32], out[32];
    for (int dv = 0; dv < 256; ++dv) {
        for (int wv = 0; wv < 256; ++wv) {
            for (int s0 = 0; s0 < 256; s0 += 32) {
                for (int i = 0; i < 32; ++i) {
                    d[i] = static_cast<uint8_t>(dv);
                    w[i] = static_cast<uint8_t>(wv);
                    s[i] = static_cast<uint8_t>(s0 + i);
                }
                alphaOver32(d, s, w, out);
                for (int i = 0; i < 32; ++i)
                    ASSERT_EQ(alphaOver(dv, s0 + i, wv), out[i]) << dv << " " << s0 + i << " " << wv;
            }
        }
    }
}

TEST(PixelMath, GreyOfWhiteIs254AndPairKeys) {
    EXPECT_EQ(254, greyOf(255, 255, 255));
    EXPECT_EQ(0, greyOf(0, 0, 0));
    EXPECT_EQ(76 * 255 >> 8, greyOf(255, 0, 0));
    EXPECT_EQ(150, greyOf(255, 128, 0));  // (19380 + 19200) >> 8
    EXPECT_EQ(17, pixelFormatPairKey(1, 1));
    EXPECT_EQ(36, pixelFormatPairKey(2, 4));
    EXPECT_EQ(52, pixelFormatPairKey(3, 4));
    EXPECT_EQ(68, pixelFormatPairKey(4, 4));
}
