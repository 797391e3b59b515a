// The thumbnail resampler: exact copies at the same size, the worked weights of the save thumbnail,
// enlargement, 64-bit sums, refusals, and random sizes against the box weights summed directly.
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "graphics/image.h"
#include "graphics/resample.h"
#include "testing.h"

namespace {

std::vector<uint8_t> bytes(const cImage& image) {
    return std::vector<uint8_t>(image.pixels, image.pixels + image.ByteCount());
}

// The box filter as written: every source pixel of the box with weight wx x wy, one division.
std::vector<uint8_t> reference(const cImage& src, int wd, int hd) {
    const int64_t ws = src.width, hs = src.height;
    const int64_t fx = (int64_t(wd) << 8) / ws, fy = (int64_t(hd) << 8) / hs;
    const int64_t gx = (ws << 8) / wd, gy = (hs << 8) / hd;
    std::vector<uint8_t> out(size_t(wd) * hd * 3);
    auto weight = [](int64_t s, int64_t first, int64_t last, int64_t f, int64_t x) {
        if (s == last) return ((x + 1) << 8) - s * f;
        if (s == first) return (s + 1) * f - ((s * f) & ~int64_t(255));
        return f;
    };
    for (int64_t y = 0; y < hd; ++y)
        for (int64_t x = 0; x < wd; ++x) {
            int64_t x0 = (x * gx) >> 8, x1 = (((x + 1) * gx + 128) >> 8) - 1;
            int64_t y0 = (y * gy) >> 8, y1 = (((y + 1) * gy + 128) >> 8) - 1;
            if (x0 < 0) x0 = 0;
            if (y0 < 0) y0 = 0;
            if (x1 > ws - 1) x1 = ws - 1;
            if (y1 > hs - 1) y1 = hs - 1;
            int64_t sum[3] = {0, 0, 0}, total = 0;
            for (int64_t sy = y0; sy <= y1; ++sy)
                for (int64_t sx = x0; sx <= x1; ++sx) {
                    const int64_t w = weight(sx, x0, x1, fx, x) * weight(sy, y0, y1, fy, y);
                    for (int k = 0; k < 3; ++k) sum[k] += w * src.pixels[(sy * ws + sx) * 3 + k];
                    total += w;
                }
            uint8_t* d = &out[size_t((y * wd + x) * 3)];
            for (int k = 0; k < 3; ++k)
                d[k] = total ? uint8_t(sum[k] / total) : src.pixels[(y0 * ws + x0) * 3 + k];
        }
    return out;
}

}  // namespace

TEST(Resample, SameSizeCopiesExactly) {
    std::mt19937 rng(3);
    cSprite src, dst;
    ASSERT_TRUE(src.Create(3, 37, 23));
    ASSERT_TRUE(dst.Create(3, 37, 23));
    for (uint64_t i = 0; i < src.ByteCount(); ++i) src.pixels[i] = uint8_t(rng());
    ASSERT_TRUE(resampleImageBox(dst, src));
    EXPECT_EQ(bytes(src), bytes(dst));
}

TEST(Resample, SaveThumbnailWeights) {
    // 640 x 480 onto 104 x 78: fx = 41, gx = 1575. Column 1 takes source columns 6 to 11 with weights
    // 287, 41, 41, 41, 41, 61 (sum 512); column 2 starts at source column 12.
    cSprite src, dst;
    ASSERT_TRUE(src.Create(3, 640, 480));
    std::memset(src.pixels, 0, src.ByteCount());
    for (int y = 0; y < 480; ++y) {
        uint8_t* row = src.pixels + y * 640 * 3;
        row[6 * 3 + 1] = 255;   // column 6 green
        row[11 * 3 + 0] = 255;  // column 11 blue
        row[12 * 3 + 2] = 255;  // column 12 red
    }
    ASSERT_TRUE(dst.Create(3, 104, 78));
    std::memset(dst.pixels, 99, dst.ByteCount());
    ASSERT_TRUE(resampleImageBox(dst, src));
    for (int y = 0; y < 78; ++y) {
        const uint8_t* row = dst.pixels + y * 104 * 3;
        const uint8_t col0[3] = {0, 0, 0}, col1[3] = {30, 142, 0}, col2[3] = {0, 0, 137};
        ASSERT_EQ(0, std::memcmp(col0, row, 3)) << y;
        ASSERT_EQ(0, std::memcmp(col1, row + 3, 3)) << y;
        ASSERT_EQ(0, std::memcmp(col2, row + 6, 3)) << y;
        ASSERT_EQ(0, std::memcmp(col0, row + 9, 3)) << y;
    }
    EXPECT_EQ(reference(src, 104, 78), bytes(dst));
}

TEST(Resample, OnePixelOntoNine) {
    cSprite src, dst;
    ASSERT_TRUE(src.Create(3, 1, 1));
    src.pixels[0] = 10, src.pixels[1] = 20, src.pixels[2] = 30;
    ASSERT_TRUE(dst.Create(3, 3, 3));
    std::memset(dst.pixels, 0, dst.ByteCount());
    // Destination column and row 0 have empty boxes (beyond twice the size): they take the pixel too.
    ASSERT_TRUE(resampleImageBox(dst, src));
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(10, dst.pixels[i * 3]) << i;
        EXPECT_EQ(20, dst.pixels[i * 3 + 1]) << i;
        EXPECT_EQ(30, dst.pixels[i * 3 + 2]) << i;
    }
}

TEST(Resample, RandomSizesEqualTheDirectSums) {
    std::mt19937 rng(77);
    for (int n = 0; n < 300; ++n) {
        const int ws = 1 + int(rng() % 60), hs = 1 + int(rng() % 40);
        const int wd = 1 + int(rng() % (n % 3 ? ws : 3 * ws)), hd = 1 + int(rng() % (n % 4 ? hs : 3 * hs));
        cSprite src, dst;
        ASSERT_TRUE(src.Create(3, ws, hs));
        ASSERT_TRUE(dst.Create(3, wd, hd));
        for (uint64_t i = 0; i < src.ByteCount(); ++i) src.pixels[i] = uint8_t(rng());
        ASSERT_TRUE(resampleImageBox(dst, src));
        ASSERT_EQ(reference(src, wd, hd), bytes(dst)) << ws << "x" << hs << " -> " << wd << "x" << hd;
    }
}

TEST(Resample, LargeWeightsSumIn64Bits) {
    // 4000 x 4000 onto 3999 x 3999: fx = 255, so the last-column rule gives weights up to 4254 per
    // axis and 4254 x 4254 x 255 no longer fits 32 bits. A uniform picture stays uniform.
    cSprite src, dst;
    ASSERT_TRUE(src.Create(3, 4000, 4000));
    for (uint64_t i = 0; i < src.ByteCount(); i += 3) src.pixels[i] = 250, src.pixels[i + 1] = 128, src.pixels[i + 2] = 3;
    ASSERT_TRUE(dst.Create(3, 3999, 3999));
    ASSERT_TRUE(resampleImageBox(dst, src));
    for (uint64_t i = 0; i < dst.ByteCount(); i += 3) {
        ASSERT_EQ(250, dst.pixels[i]) << i / 3;
        ASSERT_EQ(128, dst.pixels[i + 1]) << i / 3;
        ASSERT_EQ(3, dst.pixels[i + 2]) << i / 3;
    }
}

TEST(Resample, RowWeightsBeyond16BitsSumIn64Bits) {
    // 40000 rows onto 39999: row weights reach 40254, past what the 32-bit row sums take.
    std::mt19937 rng(8);
    cSprite src, dst;
    ASSERT_TRUE(src.Create(3, 2, 40000));
    for (uint64_t i = 0; i < src.ByteCount(); ++i) src.pixels[i] = uint8_t(rng());
    ASSERT_TRUE(dst.Create(3, 2, 39999));
    ASSERT_TRUE(resampleImageBox(dst, src));
    EXPECT_EQ(reference(src, 2, 39999), bytes(dst));
}

TEST(Resample, WrongFormatsLeaveTheDestinationUntouched) {
    cSprite src3, src4, dst3, dst1, empty;
    ASSERT_TRUE(src3.Create(3, 8, 8));
    ASSERT_TRUE(src4.Create(4, 8, 8));
    ASSERT_TRUE(dst3.Create(3, 4, 4));
    ASSERT_TRUE(dst1.Create(1, 4, 4));
    std::memset(src3.pixels, 1, src3.ByteCount());
    std::memset(src4.pixels, 1, src4.ByteCount());
    std::memset(dst3.pixels, 7, dst3.ByteCount());
    std::memset(dst1.pixels, 7, dst1.ByteCount());
    cImage sized;  // sizes without pixels
    sized.bytesPerPixel = 3;
    sized.width = sized.height = sized.pitch = 8;
    EXPECT_FALSE(resampleImageBox(dst3, src4));
    EXPECT_FALSE(resampleImageBox(dst1, src3));
    EXPECT_FALSE(resampleImageBox(dst3, empty));
    EXPECT_FALSE(resampleImageBox(empty, src3));
    EXPECT_FALSE(resampleImageBox(dst3, sized));
    EXPECT_FALSE(resampleImageBox(sized, src3));
    EXPECT_EQ(std::vector<uint8_t>(48, 7), bytes(dst3));
    EXPECT_EQ(std::vector<uint8_t>(16, 7), bytes(dst1));
}
