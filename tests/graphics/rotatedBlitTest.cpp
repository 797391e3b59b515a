// The rotated blit: quarter turns of an asymmetric picture about a pivot, magnification with the
// floor of negative positions, the truncated steps of a twelfth of a turn, the pixel rules of each
// pair, the refusals, and the span-solving path against the scan of every destination pixel.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "graphics/image.h"
#include "graphics/pixelMath.h"
#include "graphics/rotatedBlit.h"
#include "testing.h"

namespace {

// 1-byte images from rows of text-free values.
void grey(cSprite& image, int w, int h, const std::vector<uint8_t>& v) {
    ASSERT_TRUE(image.Create(1, w, h));
    ASSERT_EQ(size_t(w * h), v.size());
    std::memcpy(image.pixels, v.data(), v.size());
}
std::vector<uint8_t> bytes(const cImage& image) {
    return std::vector<uint8_t>(image.pixels, image.pixels + image.ByteCount());
}

// The 3 x 2 source  1 2 3 / 4 5 6  with its pivot (1, 0) on (4, 4) of a 9 x 9 destination of 0.
std::vector<uint8_t> turned(double turns, double scale = 1.0) {
    cSprite src, dst;
    grey(src, 3, 2, {1, 2, 3, 4, 5, 6});
    grey(dst, 9, 9, std::vector<uint8_t>(81, 0));
    EXPECT_TRUE(bltRotated(dst, src, 4, 4, 1, 0, turns, scale));
    return bytes(dst);
}
std::vector<uint8_t> grid(std::initializer_list<std::pair<int, int>> places, std::initializer_list<int> values) {
    std::vector<uint8_t> g(81, 0);
    auto v = values.begin();
    for (auto p : places) g[p.second * 9 + p.first] = uint8_t(*v++);
    return g;
}

}  // namespace

TEST(RotatedBlit, QuarterTurnsAboutThePivot) {
    // No turn: the picture with (1, 0) on (4, 4).
    EXPECT_EQ(grid({{3, 4}, {4, 4}, {5, 4}, {3, 5}, {4, 5}, {5, 5}}, {1, 2, 3, 4, 5, 6}), turned(0));
    // A quarter turn counter-clockwise as seen: what was right of the pivot is above it, the second
    // row to the right of the first.
    EXPECT_EQ(grid({{4, 5}, {4, 4}, {4, 3}, {5, 5}, {5, 4}, {5, 3}}, {1, 2, 3, 4, 5, 6}), turned(0.25));
    // Half a turn mirrors on both axes through the pivot.
    EXPECT_EQ(grid({{5, 4}, {4, 4}, {3, 4}, {5, 3}, {4, 3}, {3, 3}}, {1, 2, 3, 4, 5, 6}), turned(0.5));
    EXPECT_EQ(grid({{4, 3}, {4, 4}, {4, 5}, {3, 3}, {3, 4}, {3, 5}}, {1, 2, 3, 4, 5, 6}), turned(0.75));
    // A whole turn and a negative quarter.
    EXPECT_EQ(turned(0), turned(1.0));
    EXPECT_EQ(turned(0.75), turned(-0.25));
}

TEST(RotatedBlit, ScaleNotAboveZeroOrNotANumberIsOne) {
    for (double s : {0.0, -1.0, -0.0, std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::infinity()})
        EXPECT_EQ(turned(0.1), turned(0.1, s)) << s;
}

TEST(RotatedBlit, MagnificationSamplesByFloor) {
    // Scale 2, source pivot 0: the step is 512, so destination column pivot - 1 samples -512 >> 10 =
    // -1 and stays; each source pixel covers two columns and two rows.
    cSprite src, dst;
    grey(src, 3, 2, {1, 2, 3, 4, 5, 6});
    grey(dst, 12, 8, std::vector<uint8_t>(96, 9));
    ASSERT_TRUE(bltRotated(dst, src, 4, 4, 0, 0, 0.0, 2.0));
    std::vector<uint8_t> want(96, 9);
    for (int y = 4; y < 8; ++y)
        for (int x = 4; x < 10; ++x) want[y * 12 + x] = uint8_t(1 + (x - 4) / 2 + 3 * ((y - 4) / 2));
    EXPECT_EQ(want, bytes(dst));

    // Scale 3: B = trunc(1024 / 3) = 341, so the pivot column is 4 destination columns wide
    // (0, 341, 682, 1023), the next ones 3.
    cSprite row, line;
    grey(row, 4, 1, {1, 2, 3, 4});
    grey(line, 20, 1, std::vector<uint8_t>(20, 0));
    ASSERT_TRUE(bltRotated(line, row, 2, 0, 0, 0, 0.0, 3.0));
    const std::vector<uint8_t> want3 = {0, 0, 1, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 0, 0, 0, 0, 0};
    EXPECT_EQ(want3, bytes(line));
}

TEST(RotatedBlit, StepsAreTruncatedTo1024ths) {
    // A twelfth of a turn: A = trunc(sin(pi / 6) x 1024) = 511 (the sine is just below 0.5) and
    // B = trunc(cos(pi / 6) x 1024) = 886. With both pivots at 0, pixel (i, j) samples
    // ((886 i - 511 j) >> 10, (511 i + 886 j) >> 10).
    const int sw = 40, sh = 40, dw = 48, dh = 48;
    cSprite src, dst;
    ASSERT_TRUE(src.Create(3, sw, sh));
    for (int i = 0; i < sw * sh; ++i) {
        src.pixels[i * 3] = uint8_t(i), src.pixels[i * 3 + 1] = uint8_t(i >> 8), src.pixels[i * 3 + 2] = 7;
    }
    ASSERT_TRUE(dst.Create(3, dw, dh));
    std::memset(dst.pixels, 0, dst.ByteCount());
    ASSERT_TRUE(bltRotated(dst, src, 0, 0, 0, 0, 1.0 / 12, 1.0));
    auto expected = [&](int a, int b) {
        std::vector<uint8_t> e(size_t(dw) * dh * 3, 0);
        for (int j = 0; j < dh; ++j)
            for (int i = 0; i < dw; ++i) {
                const int px = (b * i - a * j) >> 10, py = (a * i + b * j) >> 10;
                if (px < 0 || px >= sw || py < 0 || py >= sh) continue;
                std::memcpy(&e[(j * dw + i) * 3], src.pixels + (py * sw + px) * 3, 3);
            }
        return e;
    };
    EXPECT_EQ(expected(511, 886), bytes(dst));
    EXPECT_NE(expected(512, 886), expected(511, 886));
    EXPECT_NE(expected(511, 887), expected(511, 886));
}

TEST(RotatedBlit, PivotsBeyondTheDestinationEdges) {
    // No turn: the source lands with its pivot outside; only the part inside is drawn.
    cSprite src;
    std::vector<uint8_t> v(25);
    for (int i = 0; i < 25; ++i) v[i] = uint8_t(i + 1);
    grey(src, 5, 5, v);
    struct Case {
        int dx, dy;
    };
    for (Case c : {Case{-3, 1}, Case{9, 2}, Case{2, -4}, Case{1, 10}, Case{-100, -100}}) {
        cSprite dst;
        grey(dst, 8, 8, std::vector<uint8_t>(64, 0));
        ASSERT_TRUE(bltRotated(dst, src, c.dx, c.dy, 2, 2, 0.0, 1.0));
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const int sx = x - c.dx + 2, sy = y - c.dy + 2;
                const int want = sx >= 0 && sx < 5 && sy >= 0 && sy < 5 ? v[sy * 5 + sx] : 0;
                ASSERT_EQ(want, dst.pixels[y * 8 + x]) << c.dx << "," << c.dy << " at " << x << "," << y;
            }
    }
}

TEST(RotatedBlit, PixelRulesOfThePairs) {
    const uint8_t s1[1] = {90};
    const uint8_t s3[3] = {10, 20, 250};        // grey 87
    const uint8_t s4[4] = {128, 10, 20, 250};  // half transparent
    const uint8_t d1[1] = {100};
    const uint8_t d3[3] = {100, 110, 120};
    const uint8_t d4[4] = {60, 100, 110, 120};
    const uint8_t* srcs[5] = {nullptr, s1, nullptr, s3, s4};
    const uint8_t* dsts[5] = {nullptr, d1, nullptr, d3, d4};
    struct Case {
        int dst, src;
        uint8_t want[4];
    };
    // O(d, s, 128) = d + M((s - d) x 128); grey of the 4-byte colour is 87: O(100, 87, 128) = 93.
    const Case cases[] = {
        {1, 1, {90}},
        {1, 3, {87}},
        {1, 4, {93}},
        {3, 1, {90, 90, 90}},
        {3, 3, {10, 20, 250}},
        {3, 4, {alphaOver(100, 10, 128), alphaOver(110, 20, 128), alphaOver(120, 250, 128)}},
        {4, 1, {255, 90, 90, 90}},
        {4, 3, {255, 10, 20, 250}},
        {4, 4, {alphaUnion(60, 128), alphaOver(100, 10, 128), alphaOver(110, 20, 128), alphaOver(120, 250, 128)}},
    };
    for (const Case& c : cases) {
        cSprite dst, src;
        ASSERT_TRUE(dst.Create(uint8_t(c.dst), 1, 1));
        ASSERT_TRUE(src.Create(uint8_t(c.src), 1, 1));
        std::memcpy(dst.pixels, dsts[c.dst], c.dst);
        std::memcpy(src.pixels, srcs[c.src], c.src);
        ASSERT_TRUE(bltRotated(dst, src, 0, 0, 0, 0, 0.0, 1.0));
        EXPECT_EQ(0, std::memcmp(c.want, dst.pixels, c.dst)) << c.dst << "<-" << c.src;
    }
    // Alpha 0 leaves the destination as it was.
    cSprite dst, clear;
    ASSERT_TRUE(dst.Create(4, 6, 6));
    ASSERT_TRUE(clear.Create(4, 6, 6));
    for (uint64_t i = 0; i < dst.ByteCount(); ++i) dst.pixels[i] = uint8_t(i * 7), clear.pixels[i] = i % 4 ? 200 : 0;
    const std::vector<uint8_t> before = bytes(dst);
    ASSERT_TRUE(bltRotated(dst, clear, 3, 3, 3, 3, 0.3, 1.0));
    EXPECT_EQ(before, bytes(dst));
}

TEST(RotatedBlit, RefusalsAndTurnsThatAreNotFinite) {
    cSprite a3, a2, empty;
    ASSERT_TRUE(a3.Create(3, 4, 4));
    ASSERT_TRUE(a2.Create(2, 4, 4));
    std::memset(a3.pixels, 5, a3.ByteCount());
    std::memset(a2.pixels, 5, a2.ByteCount());
    EXPECT_FALSE(bltRotated(a3, a2, 0, 0, 0, 0, 0.0, 1.0));
    EXPECT_FALSE(bltRotated(a2, a3, 0, 0, 0, 0, 0.0, 1.0));
    EXPECT_FALSE(bltRotated(a3, empty, 0, 0, 0, 0, 0.0, 1.0));
    EXPECT_FALSE(bltRotated(empty, a3, 0, 0, 0, 0, 0.0, 1.0));
    // Sizes kept by a failed allocation, but no pixels: refused, nothing written.
    cImage sized;
    sized.bytesPerPixel = 3;
    sized.width = sized.height = sized.pitch = 4;
    EXPECT_FALSE(bltRotated(sized, a3, 0, 0, 0, 0, 0.0, 1.0));
    EXPECT_FALSE(bltRotated(a3, sized, 0, 0, 0, 0, 0.0, 1.0));

    cSprite src, dst;
    grey(src, 3, 3, std::vector<uint8_t>(9, 200));
    grey(dst, 5, 5, std::vector<uint8_t>(25, 1));
    for (double t : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity()}) {
        EXPECT_TRUE(bltRotated(dst, src, 2, 2, 1, 1, t, 1.0));
        EXPECT_EQ(std::vector<uint8_t>(25, 1), bytes(dst));
    }
}

// Random calls, including pivots near the 32-bit limits (wrapping sample positions), tiny and huge
// scales (saturated steps) and every supported pair: the span path draws what the scan draws.
TEST(RotatedBlit, SpanPathEqualsTheScan) {
    std::mt19937 rng(2024);
    const int formats[3] = {1, 3, 4};
    auto pick = [&](int range) { return int(rng() % (2 * range + 1)) - range; };
    for (int n = 0; n < 1500; ++n) {
        const int db = formats[rng() % 3], sb = formats[rng() % 3];
        const int sw = 1 + int(rng() % 23), sh = 1 + int(rng() % 23), dw = 1 + int(rng() % 40), dh = 1 + int(rng() % 40);
        cSprite src, a, b;
        ASSERT_TRUE(src.Create(uint8_t(sb), sw, sh));
        ASSERT_TRUE(a.Create(uint8_t(db), dw, dh));
        for (uint64_t i = 0; i < src.ByteCount(); ++i) src.pixels[i] = uint8_t(rng());
        for (uint64_t i = 0; i < a.ByteCount(); ++i) a.pixels[i] = uint8_t(rng());
        b = a;
        int32_t dx = pick(60), dy = pick(60), sx = pick(30), sy = pick(30);
        if (n % 7 == 0) dx = int32_t(rng());  // anywhere in 32 bits
        if (n % 11 == 0) sx = int32_t(rng());
        if (n % 13 == 0) dy = n % 2 ? std::numeric_limits<int32_t>::max() : std::numeric_limits<int32_t>::min();
        double turns = double(rng() % 100000) / 25000.0 - 2.0;
        double scale = std::exp(double(pick(3000)) / 1000.0);
        if (n % 17 == 0) scale = 1e-300;
        if (n % 19 == 0) scale = std::numeric_limits<double>::infinity();
        if (n % 23 == 0) scale = 5e-324;
        if (n % 5 == 0) turns = double(pick(8)) / 8.0;
        ASSERT_TRUE(bltRotated(a, src, dx, dy, sx, sy, turns, scale));
        ASSERT_TRUE(bltRotatedScan(b, src, dx, dy, sx, sy, turns, scale));
        ASSERT_EQ(bytes(b), bytes(a)) << "case " << n << " " << db << "<-" << sb << " turns " << turns << " scale "
                                      << scale << " pivots " << dx << "," << dy << " " << sx << "," << sy;
    }
}

// 4-byte sources onto 3-byte destinations on rows long enough for several vector steps and every
// tail, with alpha in runs (transparent, opaque, mixed) so that each kind of step is taken.
TEST(RotatedBlit, SpanPathEqualsTheScanOnLongRowsOf4ByteSources) {
    std::mt19937 rng(77);
    auto pick = [&](int range) { return int(rng() % (2 * range + 1)) - range; };
    for (int n = 0; n < 400; ++n) {
        const int sw = 1 + int(rng() % 70), sh = 1 + int(rng() % 70), dw = 1 + int(rng() % 160), dh = 1 + int(rng() % 50);
        cSprite src, a, b;
        ASSERT_TRUE(src.Create(4, sw, sh));
        ASSERT_TRUE(a.Create(3, dw, dh));
        for (uint64_t i = 0; i < src.ByteCount(); ++i) src.pixels[i] = uint8_t(rng());
        const int kind = n % 4;  // 0 random alpha, 1 runs of 0 and 255, 2 all opaque, 3 all transparent but a few
        for (int p = 0; p < sw * sh; ++p) {
            uint8_t& alpha = src.pixels[size_t(p) * 4];
            if (kind == 1) alpha = ((p / 9) % 3 == 0) ? 0 : ((p / 9) % 3 == 1 ? 255 : alpha);
            if (kind == 2) alpha = 255;
            if (kind == 3 && rng() % 50) alpha = 0;
        }
        for (uint64_t i = 0; i < a.ByteCount(); ++i) a.pixels[i] = uint8_t(rng());
        b = a;
        const int32_t dx = pick(dw), dy = pick(dh), sx = pick(sw), sy = pick(sh);
        const double turns = double(rng() % 100000) / 100000.0;
        const double scale = std::exp(double(pick(1500)) / 1000.0);
        ASSERT_TRUE(bltRotated(a, src, dx, dy, sx, sy, turns, scale));
        ASSERT_TRUE(bltRotatedScan(b, src, dx, dy, sx, sy, turns, scale));
        ASSERT_EQ(bytes(b), bytes(a)) << "case " << n << " turns " << turns << " scale " << scale << " pivots " << dx
                                      << "," << dy << " " << sx << "," << sy;
    }
}
