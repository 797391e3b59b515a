// The vector blend loops against their scalar twins: every (d, s, w) of bytes for every mode, w as
// the opacity of a 3-byte source and as the alpha of a 4-byte one; the weight div255(opacity x
// alpha) over all its pairs; and random spans with tails, wide pitches and runs of transparent and
// opaque pixels. The scalar twins are held to independently written formulas over the same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "graphics/blendKernels.h"
#include "graphics/blendSimd.h"
#include "graphics/kernelSimd.h"
#include "testing.h"

namespace {

int M(int t) {
    t += 128;
    return (t + (t >> 8)) >> 8;
}

// The modes as written out in the table of the blend modes.
int reference(int mode, int d, int s) {
    switch (mode) {
        case 1: return s;
        case 2: return std::min(255, d + s);
        case 3: return std::max(0, d - s);
        case 4: return M(d * s);
        case 6: return 255 - M((255 - d) * (255 - s));
        case 7: return M(d * (M(2 * s * (255 - d)) + d));
        case 8: return std::min(255, (d * 256) / (256 - s));
        case 9: return std::max(0, std::min(255, 255 - ((255 - d) * 256) / (s + 1)));
        case 10: return std::min(d, s);
        case 11: return std::max(d, s);
        case 12: return std::abs(d - s);
        case 13: {
            const int p = (127 - d) * (127 - s);
            const int shifted = p >= 0 ? p / 128 : -((-p + 127) / 128);  // floor
            return std::abs(shifted - 127);
        }
        case 14: return s < 128 ? (d * s) / 128 : (32512 - (255 - d) * (255 - s)) / 128;
        case 15: return M(d * (255 - M((255 - d) * (255 - s)))) + M((255 - d) * M(d * s));
    }
    return -1;
}
int referenceWeighted(int mode, int d, int s, int w) {
    if (mode == 2 || mode == 3 || mode == 8 || mode == 12) return reference(mode, d, M(s * w));
    return d + M((reference(mode, d, s) - d) * w);
}

const int kModes[] = {1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

// Each vector form of the loops, and the one the blend switches use.
using Full = bool (*)(uint8_t*, const uint8_t*, int, int, int, int, uint8_t);
using Weighted = bool (*)(uint8_t*, const uint8_t*, int, int, int, int, int, uint8_t);
struct Form {
    const char* name;
    bool available;
    Full from3, from4;
    Weighted opacityFrom3, opacityFrom4;
};
std::vector<Form> availableForms(bool withWidest) {
    std::vector<Form> all = {
        {"sse4.1", simdAvailable(), blend24From24Sse41, blend24From32Sse41, blendOpacity24From24Sse41,
         blendOpacity24From32Sse41},
        {"avx2", avx2Available(), blend24From24Avx2, blend24From32Avx2, blendOpacity24From24Avx2,
         blendOpacity24From32Avx2}};
    if (withWidest)
        all.push_back({"widest", true, blend24From24Simd, blend24From32Simd, blendOpacity24From24Simd,
                       blendOpacity24From32Simd});
    std::vector<Form> forms;
    for (const Form& f : all) {
        if (f.available) forms.push_back(f);
        else std::printf("processor without %s: its form is not checked\n", f.name);
    }
    return forms;
}

// 65,536 (d, s) pairs laid out as 3-byte pixels: byte i holds pair i.
constexpr int kPairPixels = 21846;  // 65,538 bytes
void pairs33(std::vector<uint8_t>& d, std::vector<uint8_t>& s) {
    d.assign(kPairPixels * 3, 0);
    s.assign(kPairPixels * 3, 0);
    for (int i = 0; i < 65536; ++i) {
        d[i] = uint8_t(i >> 8);
        s[i] = uint8_t(i);
    }
}
// The same pairs with a 4-byte source of alpha a: pixel p's colour byte k holds pair 3p + k.
void pairs34(std::vector<uint8_t>& d, std::vector<uint8_t>& s, int a) {
    d.assign(kPairPixels * 3, 0);
    s.assign(kPairPixels * 4, 0);
    for (int i = 0; i < kPairPixels * 3; ++i) {
        const int pair = i & 0xFFFF;
        d[i] = uint8_t(pair >> 8);
        s[(i / 3) * 4 + 1 + i % 3] = uint8_t(pair);
    }
    for (int p = 0; p < kPairPixels; ++p) s[p * 4] = uint8_t(a);
}

}  // namespace

TEST(BlendSimd, FullWeightFrom3ByteSourcesEveryPair) {
    std::vector<uint8_t> d0, s;
    pairs33(d0, s);
    for (int mode : kModes) {
        std::vector<uint8_t> b = d0;
        ASSERT_TRUE(blend24From24Scalar(b.data(), s.data(), kPairPixels, kPairPixels, kPairPixels, 1, uint8_t(mode)));
        for (const Form& form : availableForms(false)) {
            std::vector<uint8_t> a = d0;
            ASSERT_TRUE(form.from3(a.data(), s.data(), kPairPixels, kPairPixels, kPairPixels, 1, uint8_t(mode)));
            ASSERT_EQ(b, a) << form.name << " mode " << mode;
        }
        for (int i = 0; i < 65536; ++i)
            ASSERT_EQ(reference(mode, i >> 8, i & 255), b[i]) << "mode " << mode << " d " << (i >> 8) << " s " << (i & 255);
    }
}

TEST(BlendSimd, OpacityFrom3ByteSourcesEveryTriple) {
    const std::vector<Form> forms = availableForms(false);
    std::vector<uint8_t> d0, s;
    pairs33(d0, s);
    for (int mode : kModes) {
        for (int w = 0; w < 256; ++w) {
            std::vector<uint8_t> b = d0;
            ASSERT_TRUE(blendOpacity24From24Scalar(b.data(), s.data(), kPairPixels,
                                                   kPairPixels, kPairPixels, 1, w, uint8_t(mode)));
            for (const Form& form : forms) {
                std::vector<uint8_t> a = d0;
                ASSERT_TRUE(form.opacityFrom3(a.data(), s.data(), kPairPixels, kPairPixels, kPairPixels, 1, w,
                                              uint8_t(mode)));
                ASSERT_EQ(b, a) << form.name << " mode " << mode << " w " << w;
            }
            for (int i = 0; i < 65536; ++i)
                ASSERT_EQ(referenceWeighted(mode, i >> 8, i & 255, w), b[i])
                    << "mode " << mode << " d " << (i >> 8) << " s " << (i & 255) << " w " << w;
        }
    }
}

TEST(BlendSimd, FullOpacityFrom4ByteSourcesEveryTriple) {
    const std::vector<Form> forms = availableForms(false);
    for (int mode : kModes) {
        for (int alpha = 0; alpha < 256; ++alpha) {
            std::vector<uint8_t> d0, s;
            pairs34(d0, s, alpha);
            std::vector<uint8_t> b = d0;
            ASSERT_TRUE(blend24From32Scalar(b.data(), s.data(), kPairPixels, kPairPixels, kPairPixels, 1, uint8_t(mode)));
            for (const Form& form : forms) {
                std::vector<uint8_t> a = d0;
                ASSERT_TRUE(form.from4(a.data(), s.data(), kPairPixels, kPairPixels, kPairPixels, 1, uint8_t(mode)));
                ASSERT_EQ(b, a) << form.name << " mode " << mode << " alpha " << alpha;
            }
            for (int i = 0; i < 65536; ++i)
                ASSERT_EQ(referenceWeighted(mode, i >> 8, i & 255, alpha), b[i])
                    << "mode " << mode << " d " << (i >> 8) << " s " << (i & 255) << " alpha " << alpha;
        }
    }
}

TEST(BlendSimd, OpacityFrom4ByteSourcesEveryTriple) {
    const std::vector<Form> forms = availableForms(false);
    for (int mode : kModes) {
        for (int alpha = 0; alpha < 256; ++alpha) {
            std::vector<uint8_t> d0, s;
            pairs34(d0, s, alpha);
            for (int o : {77, 128}) {
                std::vector<uint8_t> b = d0;
                ASSERT_TRUE(blendOpacity24From32Scalar(b.data(), s.data(), kPairPixels, kPairPixels, kPairPixels, 1,
                                                       o, uint8_t(mode)));
                for (const Form& form : forms) {
                    std::vector<uint8_t> a = d0;
                    ASSERT_TRUE(form.opacityFrom4(a.data(), s.data(), kPairPixels, kPairPixels, kPairPixels, 1, o,
                                                  uint8_t(mode)));
                    ASSERT_EQ(b, a) << form.name << " mode " << mode << " alpha " << alpha << " opacity " << o;
                }
                const int wt = M(o * alpha);
                for (int i = 0; i < 65536; i += 97)
                    ASSERT_EQ(referenceWeighted(mode, i >> 8, i & 255, wt), b[i])
                        << "mode " << mode << " d " << (i >> 8) << " s " << (i & 255) << " weight " << wt;
            }
        }
    }
}

TEST(BlendSimd, WeightOfOpacityAndAlphaEveryPair) {
    uint8_t alpha[16], out[16];
    for (int o = 0; o < 256; ++o)
        for (int a0 = 0; a0 < 256; a0 += 16) {
            for (int i = 0; i < 16; ++i) alpha[i] = uint8_t(a0 + i);
            blendWeight16(alpha, o, out);
            for (int i = 0; i < 16; ++i) ASSERT_EQ(M(o * (a0 + i)), out[i]) << o << " " << a0 + i;
        }
}

namespace {
void randomBytes(std::mt19937& rng, std::vector<uint8_t>& v, size_t n) {
    v.resize(n);
    for (auto& b : v) b = uint8_t(rng());
}
// Alpha runs of 16 pixels: 0 random, 1 transparent, 2 opaque, 3 mixed runs.
void shapeAlpha(std::mt19937& rng, std::vector<uint8_t>& s, int kind) {
    for (size_t p = 0; p * 4 < s.size(); ++p) {
        const int run = int(p / 16 + rng() % 2) % 3;
        uint8_t& a = s[p * 4];
        if (kind == 1 || (kind == 3 && run == 0)) a = 0;
        if (kind == 2 || (kind == 3 && run == 1)) a = 255;
    }
}
}  // namespace

TEST(BlendSimd, RandomSpansMatchTheScalarTwins) {
    const std::vector<Form> forms = availableForms(true);
    std::mt19937 rng(4321);
    for (int mode : kModes) {
        // Widths up to a few steps of the widest form, so every step meets every tail.
        for (int w = 1; w <= 110; w += (w < 20 ? 1 : 7)) {
            const int h = 3, dp = w + 5, sp = w + 3;
            for (int kind = 0; kind < 4; ++kind) {
                std::vector<uint8_t> d, s3, s4;
                randomBytes(rng, d, size_t(dp) * h * 3);
                randomBytes(rng, s3, size_t(sp) * h * 3);
                randomBytes(rng, s4, size_t(sp) * h * 4);
                shapeAlpha(rng, s4, kind);
                std::vector<uint8_t> full3 = d, full4 = d;
                blend24From24Scalar(full3.data(), s3.data(), dp, sp, w, h, uint8_t(mode));
                blend24From32Scalar(full4.data(), s4.data(), dp, sp, w, h, uint8_t(mode));
                for (const Form& form : forms) {
                    std::vector<uint8_t> a = d;
                    form.from3(a.data(), s3.data(), dp, sp, w, h, uint8_t(mode));
                    ASSERT_EQ(full3, a) << form.name << " 3<-3 mode " << mode << " w " << w;
                    a = d;
                    form.from4(a.data(), s4.data(), dp, sp, w, h, uint8_t(mode));
                    ASSERT_EQ(full4, a) << form.name << " 3<-4 mode " << mode << " w " << w << " kind " << kind;
                }
                for (int o : {1, 77, 128, 254}) {
                    std::vector<uint8_t> b3 = d, b4 = d;
                    blendOpacity24From24Scalar(b3.data(), s3.data(), dp, sp, w, h, o, uint8_t(mode));
                    blendOpacity24From32Scalar(b4.data(), s4.data(), dp, sp, w, h, o, uint8_t(mode));
                    for (const Form& form : forms) {
                        std::vector<uint8_t> a = d;
                        form.opacityFrom3(a.data(), s3.data(), dp, sp, w, h, o, uint8_t(mode));
                        ASSERT_EQ(b3, a) << form.name << " 3<-3 opacity " << o << " mode " << mode << " w " << w;
                        a = d;
                        form.opacityFrom4(a.data(), s4.data(), dp, sp, w, h, o, uint8_t(mode));
                        ASSERT_EQ(b4, a) << form.name << " 3<-4 opacity " << o << " mode " << mode << " w " << w
                                         << " kind " << kind;
                    }
                }
            }
        }
    }
}

TEST(BlendSimd, UnknownModesAndNullPixelsAreRefused) {
    uint8_t d[48] = {}, s[64] = {};
    for (const Form& form : availableForms(true)) {
        SCOPED_TRACE(form.name);
        for (int mode : {0, 5, 16}) {
            EXPECT_FALSE(form.from3(d, s, 16, 16, 16, 1, uint8_t(mode)));
            EXPECT_FALSE(form.from4(d, s, 16, 16, 16, 1, uint8_t(mode)));
            EXPECT_FALSE(form.opacityFrom3(d, s, 16, 16, 16, 1, 100, uint8_t(mode)));
            EXPECT_FALSE(form.opacityFrom4(d, s, 16, 16, 16, 1, 100, uint8_t(mode)));
        }
        EXPECT_FALSE(form.from3(nullptr, s, 16, 16, 16, 1, 1));
        EXPECT_FALSE(form.from4(d, nullptr, 16, 16, 16, 1, 1));
        EXPECT_FALSE(form.opacityFrom3(d, nullptr, 16, 16, 16, 1, 9, 1));
        EXPECT_FALSE(form.opacityFrom4(nullptr, s, 16, 16, 16, 1, 9, 1));
    }
    EXPECT_FALSE(blend8From8(nullptr, s, 16, 16, 16, 1, 1));
    EXPECT_FALSE(blendOpacity32From32(d, nullptr, 4, 4, 4, 1, 9, 1));
    EXPECT_TRUE(blend32From32(d, s, 4, 4, 4, 1, 1));
}
