// Blend modes through the drawing wrapper: the worked values of every mode on one byte, at full
// weight and weighted, along every path that carries one byte (vector and scalar loops, 1-, 3- and
// 4-byte images, the weight as opacity or as source alpha); the nine pairs of formats; the refusals.
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "graphics/blend.h"
#include "graphics/graphics.h"
#include "graphics/image.h"
#include "graphics/pixelMath.h"
#include "testing.h"

namespace {

struct Worked {
    int mode;
    const char* name;
    // f(d, s) at (100, 200), (200, 100), (0, 0), (255, 0), (127, 127); weighted by 128 at (100, 200)
    // and (200, 100); weighted by 1 at (255, 0).
    int v[8];
};
const Worked kWorked[] = {
    {1, "Normal", {200, 100, 0, 0, 127, 150, 150, 254}},
    {2, "Add", {255, 255, 0, 255, 254, 200, 250, 255}},
    {3, "Sub", {0, 100, 0, 255, 0, 0, 150, 255}},
    {4, "Multi", {78, 78, 0, 0, 63, 89, 139, 254}},
    {6, "Screen", {222, 222, 0, 255, 191, 161, 211, 255}},
    {7, "Overlay", {135, 191, 0, 255, 127, 118, 195, 255}},
    {8, "Dodge", {255, 255, 0, 255, 252, 164, 248, 255}},
    {9, "Burn", {58, 116, 0, 255, 0, 79, 158, 255}},
    {10, "Darken", {100, 100, 0, 0, 127, 100, 150, 254}},
    {11, "Lighten", {200, 200, 0, 255, 127, 150, 200, 255}},
    {12, "Difference", {100, 100, 0, 255, 0, 0, 150, 255}},
    {13, "Exclusion", {143, 143, 1, 254, 127, 122, 171, 255}},
    {14, "Hardlight", {187, 156, 0, 0, 126, 144, 178, 254}},
    {15, "Softlight", {134, 191, 0, 255, 127, 117, 195, 255}},
};
const int kPairs[8][2] = {{100, 200}, {200, 100}, {0, 0}, {255, 0}, {127, 127}, {100, 200}, {200, 100}, {255, 0}};
const int kWeights[8] = {255, 255, 255, 255, 255, 128, 128, 1};

// An image of width x 1 whose every pixel has the given bytes.
void uniform(cSprite& image, int bpp, int width, const uint8_t* pixel) {
    ASSERT_TRUE(image.Create(static_cast<uint8_t>(bpp), width, 1));
    for (int x = 0; x < width; ++x) std::memcpy(image.pixels + x * bpp, pixel, bpp);
}

// One byte d under source value s with weight w (255: none) along one path; every colour byte of
// every pixel must come out the same, and a 4-byte destination's alpha stays.
struct Path {
    const char* name;
    int dstBpp, srcBpp;
    bool weightAsAlpha;  // the weight is the source alpha at full opacity; else the opacity
};
const Path kPaths[] = {
    {"1<-1", 1, 1, false}, {"3<-3", 3, 3, false}, {"3<-4", 3, 4, true}, {"3<-4 opacity", 3, 4, false},
    {"4<-3", 4, 3, false}, {"4<-4", 4, 4, true},  {"3<-1", 3, 1, false}, {"4<-1", 4, 1, false},
};

void runPath(const Path& p, int mode, int d, int s, int w, int width, std::vector<uint8_t>& out) {
    uint8_t dp[4] = {77, uint8_t(d), uint8_t(d), uint8_t(d)};
    uint8_t sp[4] = {0, uint8_t(s), uint8_t(s), uint8_t(s)};
    const uint8_t* dpx = p.dstBpp == 4 ? dp : dp + 1;
    uint8_t spx[4];
    if (p.srcBpp == 4) {
        sp[0] = static_cast<uint8_t>(p.weightAsAlpha ? w : 255);
        std::memcpy(spx, sp, 4);
    } else {
        std::memcpy(spx, sp + 1, 3);
    }
    cSprite dst, src;
    uniform(dst, p.dstBpp, width, dpx);
    uniform(src, p.srcBpp, width, spx);
    const int opacity = p.weightAsAlpha ? 255 : w;
    ASSERT_TRUE(gGraphics.BltBlend(dst, src, static_cast<uint8_t>(mode), 0, 0, opacity));
    out.assign(dst.pixels, dst.pixels + dst.ByteCount());
}

}  // namespace

TEST(Blend, WorkedValuesOfEveryModeAlongEveryPath) {
    for (const Worked& m : kWorked) {
        for (int c = 0; c < 8; ++c) {
            for (const Path& p : kPaths) {
                for (int width : {1, 17, 40}) {  // tails alone, and whole vector steps with tails
                    std::vector<uint8_t> out;
                    runPath(p, m.mode, kPairs[c][0], kPairs[c][1], kWeights[c], width, out);
                    for (int x = 0; x < width; ++x) {
                        for (int k = 0; k < p.dstBpp; ++k) {
                            const int got = out[x * p.dstBpp + k];
                            const int want = p.dstBpp == 4 && k == 0 ? 77 : m.v[c];
                            ASSERT_EQ(want, got) << m.name << " case " << c << " path " << p.name << " width "
                                                 << width << " pixel " << x << " byte " << k;
                        }
                    }
                }
            }
        }
    }
}

TEST(Blend, ByteFunctionsGiveTheWorkedValues) {
    for (const Worked& m : kWorked)
        for (int c = 0; c < 8; ++c) {
            const int got = c < 5 ? blendByte(m.mode, kPairs[c][0], kPairs[c][1])
                                  : blendByteWeighted(m.mode, kPairs[c][0], kPairs[c][1], kWeights[c]);
            EXPECT_EQ(m.v[c], got) << m.name << " case " << c;
        }
}

// Each pair of formats once, in Difference (|d - s|, so each source byte shows where it went) and
// Normal with a weight.
TEST(Blend, EachPairTakesItsSourceBytes) {
    // Sources: grey 90; colour B, G, R = (10, 20, 250) (grey (76 x 250 + 150 x 20 + 29 x 10) >> 8 = 87);
    // 4-byte alpha 255 with the same colour.
    const uint8_t grey[1] = {90};
    const uint8_t colour3[3] = {10, 20, 250};
    const uint8_t colour4[4] = {255, 10, 20, 250};
    const uint8_t* sources[5] = {nullptr, grey, nullptr, colour3, colour4};
    const uint8_t d1[1] = {100};
    const uint8_t d3[3] = {100, 110, 120};
    const uint8_t d4[4] = {33, 100, 110, 120};
    const uint8_t* dests[5] = {nullptr, d1, nullptr, d3, d4};
    struct Case {
        int dst, src;
        uint8_t want[4];
    };
    const Case cases[] = {
        {1, 1, {10}},           {1, 3, {13}},           {1, 4, {13}},
        {3, 1, {10, 20, 30}},   {3, 3, {90, 90, 130}},  {3, 4, {90, 90, 130}},
        {4, 1, {33, 10, 20, 30}}, {4, 3, {33, 90, 90, 130}}, {4, 4, {33, 90, 90, 130}},
    };
    for (const Case& c : cases) {
        cSprite dst, src;
        uniform(dst, c.dst, 1, dests[c.dst]);
        uniform(src, c.src, 1, sources[c.src]);
        ASSERT_TRUE(gGraphics.BltBlend(dst, src, kBlendDifference, 0, 0, 255));
        EXPECT_EQ(0, std::memcmp(c.want, dst.pixels, c.dst)) << c.dst << "<-" << c.src;
    }
    // A 4-byte source's alpha is the weight; the destination's alpha byte is never touched.
    const uint8_t half4[4] = {128, 200, 200, 200};
    cSprite dst, src;
    uniform(dst, 4, 1, d4);
    uniform(src, 4, 1, half4);
    ASSERT_TRUE(gGraphics.BltBlend(dst, src, kBlendNormal, 0, 0, 255));
    const uint8_t want[4] = {33, 150, 155, 160};  // d + M((200 - d) x 128)
    EXPECT_EQ(0, std::memcmp(want, dst.pixels, 4));
}

TEST(Blend, ModesThatDoNotDrawAndFormatsThatTakeNoPart) {
    std::mt19937 rng(5);
    cSprite dst, src, grey2;
    ASSERT_TRUE(dst.Create(3, 8, 4));
    ASSERT_TRUE(src.Create(4, 8, 4));
    ASSERT_TRUE(grey2.Create(2, 8, 4));
    for (uint64_t i = 0; i < dst.ByteCount(); ++i) dst.pixels[i] = uint8_t(rng());
    for (uint64_t i = 0; i < src.ByteCount(); ++i) src.pixels[i] = uint8_t(rng());
    const std::vector<uint8_t> before(dst.pixels, dst.pixels + dst.ByteCount());
    auto unchanged = [&] { return std::vector<uint8_t>(dst.pixels, dst.pixels + dst.ByteCount()) == before; };
    for (int mode : {0, 5, 16, 200, 255}) {
        for (int opacity : {255, 128, 1000}) {
            EXPECT_FALSE(gGraphics.BltBlend(dst, src, uint8_t(mode), 0, 0, opacity)) << mode;
            EXPECT_TRUE(unchanged());
        }
        // Opacity below 1 and a rectangle clipped away come first.
        EXPECT_TRUE(gGraphics.BltBlend(dst, src, uint8_t(mode), 0, 0, 0));
        EXPECT_TRUE(gGraphics.BltBlend(dst, src, uint8_t(mode), 0, 0, -5));
        EXPECT_TRUE(gGraphics.BltBlend(dst, src, uint8_t(mode), 100, 0, 255));
        EXPECT_TRUE(blendClipped(dst, src, uint8_t(mode), 0, 0, 0, 4, 0, 0));
        EXPECT_TRUE(unchanged());
    }
    // 2-byte images take no part, but opacity 0 is still true.
    EXPECT_FALSE(gGraphics.BltBlend(dst, grey2, kBlendAdd, 0, 0, 255));
    EXPECT_FALSE(gGraphics.BltBlend(dst, grey2, kBlendAdd, 0, 0, 100));
    EXPECT_FALSE(gGraphics.BltBlend(grey2, src, kBlendAdd, 0, 0, 255));
    EXPECT_TRUE(gGraphics.BltBlend(dst, grey2, kBlendAdd, 0, 0, 0));
    EXPECT_TRUE(unchanged());
    // Images without pixels.
    cSprite empty;
    EXPECT_FALSE(gGraphics.BltBlend(dst, empty, kBlendAdd, 0, 0, 255));
    EXPECT_FALSE(gGraphics.BltBlend(empty, src, kBlendAdd, 0, 0, 128));
    EXPECT_TRUE(gGraphics.BltBlend(empty, src, kBlendAdd, 0, 0, 0));
    cImage sized;  // sizes but no pixels, as a failed allocation leaves it
    sized.bytesPerPixel = 3;
    sized.width = sized.height = sized.pitch = 8;
    EXPECT_FALSE(gGraphics.BltBlend(sized, src, kBlendAdd, 0, 0, 255));
    EXPECT_TRUE(unchanged());
}

TEST(Blend, SourceAlphaZeroChangesNothingInAnyMode) {
    std::mt19937 rng(11);
    for (int mode = 1; mode <= 15; ++mode) {
        if (mode == 5) continue;
        for (int dstBpp : {1, 3, 4}) {
            for (int opacity : {255, 200, 1}) {
                cSprite dst, src;
                ASSERT_TRUE(dst.Create(uint8_t(dstBpp), 37, 3));
                ASSERT_TRUE(src.Create(4, 37, 3));
                for (uint64_t i = 0; i < dst.ByteCount(); ++i) dst.pixels[i] = uint8_t(rng());
                for (uint64_t i = 0; i < src.ByteCount(); ++i) src.pixels[i] = i % 4 ? uint8_t(rng()) : 0;
                const std::vector<uint8_t> before(dst.pixels, dst.pixels + dst.ByteCount());
                ASSERT_TRUE(gGraphics.BltBlend(dst, src, uint8_t(mode), 0, 0, opacity));
                EXPECT_EQ(before, std::vector<uint8_t>(dst.pixels, dst.pixels + dst.ByteCount()))
                    << mode << " " << dstBpp << " " << opacity;
            }
        }
    }
}

// Clipping as the plain blit: a negative position cuts the source's first columns and rows, a
// source rectangle beyond the destination is cut, and a blend of an image onto itself reads the
// picture as it was.
TEST(Blend, ClipsAsThePlainBlit) {
    cSprite dst, src;
    ASSERT_TRUE(dst.Create(1, 4, 3));
    ASSERT_TRUE(src.Create(1, 3, 3));
    std::memset(dst.pixels, 10, 12);
    for (int i = 0; i < 9; ++i) src.pixels[i] = uint8_t(i + 1);
    ASSERT_TRUE(gGraphics.BltBlend(dst, src, kBlendAdd, -1, 2, 255));
    const uint8_t want[12] = {10, 10, 10, 10, 10, 10, 10, 10, 12, 13, 10, 10};
    EXPECT_EQ(0, std::memcmp(want, dst.pixels, 12));
    ASSERT_TRUE(blendOpacityClipped(dst, src, kBlendAdd, 2, -1, 5, 5, 1, 0, 128));
    // Source pixels (1, 1), (2, 1) then (1, 2), (2, 2) scaled by M(s x 128) onto (2, 0), (3, 0), ...
    const uint8_t want2[12] = {10, 10, 13, 13, 10, 10, 14, 15, 12, 13, 10, 10};
    EXPECT_EQ(0, std::memcmp(want2, dst.pixels, 12));

    cSprite self;
    ASSERT_TRUE(self.Create(1, 4, 1));
    const uint8_t row[4] = {1, 2, 4, 8};
    std::memcpy(self.pixels, row, 4);
    ASSERT_TRUE(gGraphics.BltBlend(self, self, kBlendAdd, 1, 0, 255));
    const uint8_t want3[4] = {1, 3, 6, 12};
    EXPECT_EQ(0, std::memcmp(want3, self.pixels, 4));
}
