// Glyph coverage: the 8 x 8 reduction, bold widening and blending a coverage bitmap into images.
#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "graphics/image.h"
#include "graphics/text/coverage.h"
#include "testing.h"

TEST(Coverage, TableCountsBits) {
    const uint32_t* t = coverageTable();
    EXPECT_EQ(0u, t[0]);
    EXPECT_EQ(31u, t[1]);
    EXPECT_EQ(31u, t[0x80]);
    EXPECT_EQ(127u, t[0x0F]);
    EXPECT_EQ(159u, t[0x1F]);
    EXPECT_EQ(255u, t[0xFF]);
}

TEST(Coverage, DownsampleFullAndSparseBlocks) {
    // Outline 4 bytes wide (the stride GDI uses for up to 32 pixels), 16 rows: column 0 all set,
    // column 1 one pixel in the first band, column 2 empty, column 3 all set in the second band.
    const int stride = 4, rows = 16;
    std::vector<uint8_t> outline(stride * rows, 0);
    for (int y = 0; y < rows; ++y) outline[y * stride + 0] = 0xFF;
    outline[3 * stride + 1] = 0x10;
    for (int y = 8; y < 16; ++y) outline[y * stride + 3] = 0xFF;
    std::vector<uint8_t> coverage(stride * 3, 0xEE);
    downsampleGlyph(coverage.data(), outline.data(), stride, rows, stride);
    EXPECT_EQ(255, coverage[0]);
    EXPECT_EQ(3, coverage[1]);  // 31 >> 3
    EXPECT_EQ(0, coverage[2]);
    EXPECT_EQ(0, coverage[3]);
    EXPECT_EQ(255, coverage[stride + 0]);
    EXPECT_EQ(255, coverage[stride + 3]);
    // A row count that is a multiple of 8 writes nothing further.
    for (int x = 0; x < stride; ++x) EXPECT_EQ(0xEE, coverage[2 * stride + x]);
}

TEST(Coverage, DownsampleRemainderRows) {
    // 12 rows: the last coverage row comes from the 4 remaining rows alone.
    const int stride = 4, rows = 12;
    std::vector<uint8_t> outline(stride * rows, 0xFF);
    std::vector<uint8_t> coverage(stride * 2, 0);
    downsampleGlyph(coverage.data(), outline.data(), stride, rows, stride);
    EXPECT_EQ(255, coverage[0]);
    EXPECT_EQ(127, coverage[stride]);  // (4 x 255) >> 3
}

TEST(Coverage, BoldWidensByOnePixelAndSaturates) {
    uint8_t c[2][5] = {{200, 100, 0, 0, 9}, {0, 0, 60, 0, 9}};
    widenBold(&c[0][0], 4, 2, 5);
    const uint8_t row0[5] = {200, 255, 100, 0, 9};
    const uint8_t row1[5] = {0, 0, 60, 60, 9};
    EXPECT_EQ(0, std::memcmp(row0, c[0], 5));
    EXPECT_EQ(0, std::memcmp(row1, c[1], 5));
}

namespace {
// A 2 x 2 coverage bitmap: full, half, none, full.
const uint8_t kGlyph[2 * 3] = {255, 128, 77, 0, 255, 77};

CoverageBitmap glyph2x2(int originX = 0, int originY = 0) {
    CoverageBitmap g;
    g.pixels = kGlyph;
    g.width = 2;
    g.height = 2;
    g.stride = 3;
    g.originX = originX;
    g.originY = originY;
    return g;
}

void fill(cSprite& image, uint8_t value) {
    std::memset(image.pixels, value, static_cast<size_t>(image.ByteCount()));
}

const uint8_t* at(const cSprite& image, int x, int y) {
    return image.pixels + (y * image.width + x) * image.bytesPerPixel;
}
}  // namespace

TEST(CoverageBlit, EveryPixelFormat) {
    // Colour (R, G, B) = (200, 100, 50); grey = (76*200 + 150*100 + 29*50) >> 8 = 123.
    cSprite grey, greyAlpha, bgr, abgr;
    ASSERT_TRUE(grey.Create(1, 4, 4));
    ASSERT_TRUE(greyAlpha.Create(2, 4, 4));
    ASSERT_TRUE(bgr.Create(3, 4, 4));
    ASSERT_TRUE(abgr.Create(4, 4, 4));
    fill(grey, 10);
    fill(greyAlpha, 10);
    fill(bgr, 10);
    fill(abgr, 10);
    for (cSprite* image : {&grey, &greyAlpha, &bgr, &abgr})
        EXPECT_TRUE(blitCoverage(*image, 1, 1, glyph2x2(), 200, 100, 50));

    EXPECT_EQ(123, at(grey, 1, 1)[0]);
    EXPECT_EQ(67, at(grey, 2, 1)[0]);  // 10 + M(113 x 128)
    EXPECT_EQ(10, at(grey, 1, 2)[0]);
    EXPECT_EQ(10, at(grey, 0, 0)[0]);

    // Two bytes: the alpha takes the union, the grey is laid over.
    EXPECT_EQ(255, at(greyAlpha, 1, 1)[0]);
    EXPECT_EQ(123, at(greyAlpha, 1, 1)[1]);
    EXPECT_EQ(10 + 128 - 5, at(greyAlpha, 2, 1)[0]);  // U(10, 128) = 10 + 128 - M(1280)
    EXPECT_EQ(10, at(greyAlpha, 1, 2)[0]);
    EXPECT_EQ(10, at(greyAlpha, 1, 2)[1]);

    // Three bytes: blue, green, red.
    EXPECT_EQ(50, at(bgr, 1, 1)[0]);
    EXPECT_EQ(100, at(bgr, 1, 1)[1]);
    EXPECT_EQ(200, at(bgr, 1, 1)[2]);
    EXPECT_EQ(10, at(bgr, 3, 3)[0]);

    // Four bytes: alpha union, then blue, green, red.
    EXPECT_EQ(255, at(abgr, 2, 2)[0]);
    EXPECT_EQ(50, at(abgr, 2, 2)[1]);
    EXPECT_EQ(100, at(abgr, 2, 2)[2]);
    EXPECT_EQ(200, at(abgr, 2, 2)[3]);
    EXPECT_EQ(10, at(abgr, 1, 2)[0]);
}

TEST(CoverageBlit, ClippingAndFailures) {
    cSprite image;
    ASSERT_TRUE(image.Create(3, 4, 4));
    fill(image, 0);
    // Partly above and left: only the glyph's bottom-right pixel lands, at (0, 0).
    EXPECT_TRUE(blitCoverage(image, -1, -1, glyph2x2(), 255, 255, 255));
    EXPECT_EQ(255, at(image, 0, 0)[0]);
    EXPECT_EQ(0, at(image, 1, 0)[0]);
    EXPECT_EQ(0, at(image, 0, 1)[0]);
    // The origin moves the glyph: (3 + 1, 0) is outside on the right.
    fill(image, 0);
    EXPECT_TRUE(blitCoverage(image, 3, 0, glyph2x2(1, 0), 255, 255, 255));
    for (int i = 0; i < 4 * 4 * 3; ++i) ASSERT_EQ(0, image.pixels[i]);
    // Partly off the bottom-right edge.
    EXPECT_TRUE(blitCoverage(image, 3, 3, glyph2x2(), 255, 255, 255));
    EXPECT_EQ(255, at(image, 3, 3)[0]);
    // Wholly outside: true, nothing drawn, also with an image without pixels.
    cSprite empty;
    EXPECT_TRUE(blitCoverage(image, 100, 100, glyph2x2(), 1, 2, 3));
    EXPECT_TRUE(blitCoverage(image, -5, 0, glyph2x2(), 1, 2, 3));
    // An empty image clips everything away; an image with a size but without pixels (a failed
    // allocation) and a missing coverage bitmap fail.
    EXPECT_TRUE(blitCoverage(empty, 0, 0, glyph2x2(), 1, 2, 3));
    cImage unallocated;
    unallocated.bytesPerPixel = 3;
    unallocated.width = unallocated.height = unallocated.pitch = 4;
    EXPECT_FALSE(blitCoverage(unallocated, 0, 0, glyph2x2(), 1, 2, 3));
    CoverageBitmap none = glyph2x2();
    none.pixels = nullptr;
    EXPECT_FALSE(blitCoverage(image, 0, 0, none, 1, 2, 3));
    // An empty glyph draws nothing and succeeds.
    CoverageBitmap blank;
    EXPECT_TRUE(blitCoverage(image, 0, 0, blank, 1, 2, 3));
}

TEST(CoverageBlit, RandomPlacementsStayInsideTheImage) {
    // Under the address sanitizer any write outside the pixels fails the test.
    std::mt19937 rng(424242);
    std::uniform_int_distribution<int> size(0, 9), bpp(1, 4), pos(-20, 20), value(0, 255);
    for (int round = 0; round < 5000; ++round) {
        cSprite image;
        int w = size(rng), h = size(rng);
        image.Create(static_cast<uint8_t>(bpp(rng)), w, h);
        std::vector<uint8_t> pixels(static_cast<size_t>(size(rng) * size(rng) + 1));
        for (uint8_t& p : pixels) p = static_cast<uint8_t>(value(rng));
        CoverageBitmap g;
        g.pixels = pixels.data();
        g.stride = size(rng) + 1;
        g.width = std::min(g.stride, size(rng));
        g.height = static_cast<int32_t>(pixels.size() / static_cast<size_t>(g.stride));
        g.originX = pos(rng);
        g.originY = pos(rng);
        EXPECT_TRUE(blitCoverage(image, pos(rng), pos(rng), g, 1, 2, 3) || !image.HasPixels());
    }
}
