// Every plain and opacity kernel on one pixel, against values worked out from the formulas, and
// the same kernels over spans with different pitches.
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "graphics/blit.h"
#include "graphics/graphics.h"
#include "graphics/image.h"
#include "testing.h"

namespace {

// The destination and source pixel used for every pair.
//   1: d = 100              s = 200
//   2: d = (100, 60)        s = (128, 30)            alpha first
//   3: d = (10, 200, 1)     s = (0, 128, 255)        blue, green, red
//   4: d = (100, 10, 200, 1) s = (128, 0, 128, 0)
// Worked examples, M(t) = (t + 128 + ((t + 128) >> 8)) >> 8:
//   3 <- 4 plain, weight 128: blue O(10, 0, 128) = 10 + M(-1280) = 10 + (-1152 - 5) >> 8 = 10 - 5 = 5;
//   green O(200, 128, 128) = 200 + M(-9216) = 200 - 36 = 164; red O(1, 0, 128) = 1 + M(-128) = 1.
//   grey of the 3-byte source = (76 x 255 + 150 x 128 + 29 x 0) >> 8 = 150; of the 4-byte one
//   (76 x 0 + 150 x 128 + 0) >> 8 = 75.
//   Opacity 128 over an alpha source of 128: w = M(128 x 128) = M(16384) = 64.
const uint8_t kDst[5][4] = {{}, {100}, {100, 60}, {10, 200, 1}, {100, 10, 200, 1}};
const uint8_t kSrc[5][4] = {{}, {200}, {128, 30}, {0, 128, 255}, {128, 0, 128, 0}};

struct Case {
    int dst, src;
    uint8_t plain[4];
    uint8_t opacity128[4];
    uint8_t opacity77[4];
};
const Case kCases[] = {
    {1, 1, {200}, {150}, {130}},
    {1, 2, {65}, {82}, {89}},
    {1, 3, {150}, {125}, {115}},
    {1, 4, {87}, {94}, {96}},
    {2, 1, {255, 200}, {178, 130}, {147, 102}},
    {2, 2, {178, 45}, {139, 52}, {124, 55}},
    {2, 3, {255, 150}, {178, 105}, {147, 87}},
    {2, 4, {178, 68}, {139, 64}, {124, 62}},
    {3, 1, {200, 200, 200}, {105, 200, 101}, {67, 200, 61}},
    {3, 2, {20, 115, 16}, {15, 157, 8}, {13, 174, 5}},
    {3, 3, {0, 128, 255}, {5, 164, 128}, {7, 178, 78}},
    {3, 4, {5, 164, 1}, {7, 182, 1}, {8, 189, 1}},
    {4, 1, {255, 200, 200, 200}, {178, 105, 200, 101}, {147, 67, 200, 61}},
    {4, 2, {178, 20, 115, 16}, {139, 15, 157, 8}, {124, 13, 174, 5}},
    {4, 3, {255, 0, 128, 255}, {178, 5, 164, 128}, {147, 7, 178, 78}},
    {4, 4, {178, 5, 164, 1}, {139, 7, 182, 1}, {124, 8, 189, 1}},
};

void makePixel(cSprite& image, int bpp, const uint8_t* bytes) {
    ASSERT_TRUE(image.Create(static_cast<uint8_t>(bpp), 1, 1));
    std::memcpy(image.pixels, bytes, bpp);
}

std::vector<uint8_t> bytesOf(const cSprite& image) {
    return std::vector<uint8_t>(image.pixels, image.pixels + image.ByteCount());
}

void fillRandom(cSprite& image, std::mt19937& rng) {
    for (uint64_t i = 0; i < image.ByteCount(); ++i) image.pixels[i] = static_cast<uint8_t>(rng());
    // Some fully transparent and fully opaque pixels for the sources with alpha.
    if (image.bytesPerPixel == 2 || image.bytesPerPixel == 4)
        for (uint64_t i = 0; i < image.ByteCount(); i += image.bytesPerPixel * 3)
            image.pixels[i] = (i / image.bytesPerPixel) % 2 ? 255 : 0;
}

}  // namespace

TEST(Kernels, EveryPairOnOnePixel) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << "dst " << c.dst << " src " << c.src);
        cSprite src;
        makePixel(src, c.src, kSrc[c.src]);
        struct {
            int opacity;
            const uint8_t* expected;
        } runs[] = {{255, c.plain}, {128, c.opacity128}, {77, c.opacity77}};
        for (auto& run : runs) {
            cSprite dst;
            makePixel(dst, c.dst, kDst[c.dst]);
            ASSERT_TRUE(gGraphics.BltOpacity(dst, src, 0, 0, run.opacity));
            for (int k = 0; k < c.dst; ++k)
                EXPECT_EQ(run.expected[k], dst.pixels[k]) << "opacity " << run.opacity << " byte " << k;
        }
        cSprite dst;
        makePixel(dst, c.dst, kDst[c.dst]);
        ASSERT_TRUE(gGraphics.Blt(dst, src, 0, 0));
        EXPECT_EQ(0, std::memcmp(c.plain, dst.pixels, c.dst));
    }
}

TEST(Kernels, AlphaShortcutsAndOpaqueSources) {
    // An opaque 3-byte source into a 4-byte image sets alpha 255.
    cSprite d4, s3, s4;
    const uint8_t d4px[4] = {40, 1, 2, 3};
    const uint8_t s3px[3] = {9, 8, 7};
    makePixel(d4, 4, d4px);
    makePixel(s3, 3, s3px);
    ASSERT_TRUE(gGraphics.Blt(d4, s3, 0, 0));
    const uint8_t e1[4] = {255, 9, 8, 7};
    EXPECT_EQ(0, std::memcmp(e1, d4.pixels, 4));
    // Alpha 0 changes nothing, the destination alpha included.
    const uint8_t clear[4] = {0, 200, 200, 200};
    makePixel(d4, 4, d4px);
    makePixel(s4, 4, clear);
    ASSERT_TRUE(gGraphics.Blt(d4, s4, 0, 0));
    EXPECT_EQ(0, std::memcmp(d4px, d4.pixels, 4));
    // Alpha 255 onto 3 bytes copies the colour exactly.
    cSprite d3;
    const uint8_t d3px[3] = {1, 2, 3};
    const uint8_t opaque[4] = {255, 250, 5, 128};
    makePixel(d3, 3, d3px);
    makePixel(s4, 4, opaque);
    ASSERT_TRUE(gGraphics.Blt(d3, s4, 0, 0));
    EXPECT_EQ(0, std::memcmp(opaque + 1, d3.pixels, 3));
}

// Over a span with different pitches, each pixel comes out as the one-pixel kernel makes it and
// nothing outside the rectangle changes; spans narrower than one block of the vector kernels, and
// wide enough for a few blocks of the widest (32 pixels) and a tail.
TEST(Kernels, SpansStepRowsByThePitch) {
    std::mt19937 rng(7);
    for (int db = 1; db <= 4; ++db) {
        for (int sb = 1; sb <= 4; ++sb) {
            for (int run = 0; run < 4; ++run) {
                const int opacity = run % 2 ? 100 : 255;
                const bool wide = run >= 2;
                SCOPED_TRACE(testing::Message() << db << " <- " << sb << " opacity " << opacity
                                                << (wide ? " wide" : ""));
                cSprite dst, src;
                ASSERT_TRUE(dst.Create(static_cast<uint8_t>(db), wide ? 120 : 37, 9));
                ASSERT_TRUE(src.Create(static_cast<uint8_t>(sb), wide ? 111 : 29, 6));
                fillRandom(dst, rng);
                fillRandom(src, rng);
                cSprite before = dst;
                const int x = 3, y = 2, sx = 4, sy = 1, w = wide ? 103 : 21, h = 5;
                ASSERT_TRUE(bltOpacityClipped(dst, src, x, y, w, h, sx, sy, opacity));
                for (int py = 0; py < dst.height; ++py) {
                    for (int px = 0; px < dst.width; ++px) {
                        const uint8_t* got = dst.pixels + (py * dst.width + px) * db;
                        const uint8_t* old = before.pixels + (py * dst.width + px) * db;
                        cSprite one, from;
                        makePixel(one, db, old);
                        bool inside = px >= x && px < x + w && py >= y && py < y + h;
                        if (inside) {
                            makePixel(from, sb,
                                      src.pixels + ((py - y + sy) * src.width + (px - x + sx)) * sb);
                            ASSERT_TRUE(gGraphics.BltOpacity(one, from, 0, 0, opacity));
                        }
                        ASSERT_EQ(0, std::memcmp(one.pixels, got, db)) << px << "," << py;
                    }
                }
            }
        }
    }
}

TEST(Kernels, FillsOfEveryFormat) {
    // Colour R 200, G 100, B 50: grey (76 x 200 + 150 x 100 + 29 x 50) >> 8 = 123.
    const Rgb colour = {200, 100, 50};
    const uint8_t fill[5][4] = {{}, {123}, {255, 123}, {50, 100, 200}, {255, 50, 100, 200}};
    // Alpha 100: O(100, 123, 100) = 109, U(100, 100) = 161, O(60, 123, 100) = 85,
    // O(10, 50, 100) = 26, O(200, 100, 100) = 161, O(1, 200, 100) = 79.
    const uint8_t over[5][4] = {{}, {109}, {161, 85}, {26, 161, 79}, {161, 26, 161, 79}};
    for (int b = 1; b <= 4; ++b) {
        cSprite d;
        makePixel(d, b, kDst[b]);
        ASSERT_TRUE(gGraphics.FillRect(d, colour, 0, 0, 1, 1));
        EXPECT_EQ(0, std::memcmp(fill[b], d.pixels, b)) << b;
        makePixel(d, b, kDst[b]);
        ASSERT_TRUE(gGraphics.FillRectAlpha(d, colour, 0, 0, 1, 1, 100));
        EXPECT_EQ(0, std::memcmp(over[b], d.pixels, b)) << b;
        makePixel(d, b, kDst[b]);
        ASSERT_TRUE(gGraphics.FillRectAlpha(d, colour, 0, 0, 1, 1, 255));
        EXPECT_EQ(0, std::memcmp(fill[b], d.pixels, b)) << b;
        makePixel(d, b, kDst[b]);
        ASSERT_TRUE(gGraphics.FillRectAlpha(d, colour, 0, 0, 1, 1, 0));
        EXPECT_EQ(0, std::memcmp(kDst[b], d.pixels, b)) << b;
    }
    // Grey fill of white is 254.
    cSprite g;
    ASSERT_TRUE(g.Create(1, 1, 1));
    ASSERT_TRUE(gGraphics.FillRect(g, Rgb{255, 255, 255}, 0, 0, 1, 1));
    EXPECT_EQ(254, g.pixels[0]);
}

TEST(Kernels, FillRectangleClipping) {
    cSprite d;
    ASSERT_TRUE(d.Create(3, 6, 4));
    std::memset(d.pixels, 0, d.ByteCount());
    ASSERT_TRUE(gGraphics.FillRect(d, Rgb{1, 2, 3}, -2, 1, 5, 10));  // narrowed to x 0..2, rows 1..3
    ASSERT_TRUE(gGraphics.FillRectAlpha(d, Rgb{9, 9, 9}, 5, -3, 4, 4, 128));  // x 5, row 0
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const uint8_t* p = d.pixels + (y * 6 + x) * 3;
            bool filled = x < 3 && y >= 1;
            bool over = x == 5 && y == 0;
            EXPECT_EQ(filled ? 3 : over ? 5 : 0, p[0]) << x << "," << y;
            EXPECT_EQ(filled ? 1 : over ? 5 : 0, p[2]) << x << "," << y;
        }
    std::vector<uint8_t> saved = bytesOf(d);
    EXPECT_TRUE(gGraphics.FillRect(d, Rgb{7, 7, 7}, 0, 0, 0, 4));
    EXPECT_TRUE(gGraphics.FillRect(d, Rgb{7, 7, 7}, 0, 0, 6, 0));
    EXPECT_TRUE(gGraphics.FillRect(d, Rgb{7, 7, 7}, 6, 0, 6, 4));
    EXPECT_TRUE(gGraphics.FillRect(d, Rgb{7, 7, 7}, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
    EXPECT_TRUE(gGraphics.FillRectAlpha(d, Rgb{7, 7, 7}, INT32_MAX, 0, INT32_MAX, 4, 9));
    EXPECT_EQ(saved, bytesOf(d));
    cSprite empty;
    EXPECT_FALSE(gGraphics.FillRect(empty, Rgb{1, 1, 1}, 0, 0, 1, 1));
    EXPECT_FALSE(gGraphics.FillRectAlpha(empty, Rgb{1, 1, 1}, 0, 0, 1, 1, 9));
    EXPECT_TRUE(gGraphics.FillRectAlpha(empty, Rgb{1, 1, 1}, 0, 0, 1, 1, 0));
    // A whole-image fill covers every pixel.
    ASSERT_TRUE(gGraphics.FillRect(d, Rgb{7, 8, 9}, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
    EXPECT_EQ(saved, bytesOf(d));  // INT_MIN + INT_MAX = -1: nothing left
    ASSERT_TRUE(gGraphics.FillRect(d, Rgb{7, 8, 9}, -5, -5, INT32_MAX, INT32_MAX));
    for (int i = 0; i < 24; ++i) EXPECT_EQ(9, d.pixels[i * 3]);
}
