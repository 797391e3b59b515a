#include "app/framePixels.h"

#include <cstring>
#include <vector>

#include "testing.h"

namespace {
// Blue, green, red of a few pixels, one row.
const uint8_t kRow[] = {0, 0, 255,  /* red */ 0, 255, 0, /* green */ 255, 0, 0, /* blue */
                        255, 255, 255, /* white */ 0x12, 0x34, 0x56};
constexpr int kWidth = 5;
}  // namespace

TEST(FramePixels, SixteenBit565) {
    EXPECT_EQ(rgbTo565(255, 0, 0), 0xF800);
    EXPECT_EQ(rgbTo565(0, 255, 0), 0x07E0);
    EXPECT_EQ(rgbTo565(0, 0, 255), 0x001F);
    EXPECT_EQ(rgbTo565(255, 255, 255), 0xFFFF);
    EXPECT_EQ(rgbTo565(7, 3, 7), 0);  // the low bits are dropped

    std::vector<uint8_t> dst(64, 0xEE);
    ASSERT_TRUE(convertFrameRows(kRow, kWidth, 1, dst.data(), 16, 16));
    const uint16_t expected[] = {0xF800, 0x07E0, 0x001F, 0xFFFF, rgbTo565(0x56, 0x34, 0x12)};
    for (int x = 0; x < kWidth; ++x)
        EXPECT_EQ(dst[2 * x] | (dst[2 * x + 1] << 8), expected[x]) << x;  // little-endian words
    for (size_t i = 2 * kWidth; i < dst.size(); ++i) EXPECT_EQ(dst[i], 0xEE);  // pitch padding kept
}

TEST(FramePixels, TwentyFourAndThirtyTwoBitAtSurfacePitch) {
    // Two rows; the surface pitch is longer than a row.
    std::vector<uint8_t> src(kWidth * 3 * 2);
    std::memcpy(src.data(), kRow, sizeof kRow);
    for (size_t i = 0; i < sizeof kRow; ++i) src[sizeof kRow + i] = static_cast<uint8_t>(i + 1);

    std::vector<uint8_t> d24(2 * 20, 0xEE);
    ASSERT_TRUE(convertFrameRows(src.data(), kWidth, 2, d24.data(), 20, 24));
    EXPECT_EQ(0, std::memcmp(d24.data(), src.data(), 15));
    EXPECT_EQ(0, std::memcmp(d24.data() + 20, src.data() + 15, 15));
    EXPECT_EQ(d24[15], 0xEE);

    std::vector<uint8_t> d32(2 * 24, 0xEE);
    ASSERT_TRUE(convertFrameRows(src.data(), kWidth, 2, d32.data(), 24, 32));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const uint8_t* s = src.data() + y * 15 + x * 3;
            const uint8_t* d = d32.data() + y * 24 + x * 4;
            EXPECT_EQ(d[0], s[0]);
            EXPECT_EQ(d[1], s[1]);
            EXPECT_EQ(d[2], s[2]);
            EXPECT_EQ(d[3], 0);
        }
}

TEST(FramePixels, RefusesOtherDepthsShortPitchesAndBadSizes) {
    std::vector<uint8_t> dst(64, 0xEE);
    EXPECT_FALSE(convertFrameRows(kRow, kWidth, 1, dst.data(), 64, 8));
    EXPECT_FALSE(convertFrameRows(kRow, kWidth, 1, dst.data(), 64, 15));
    EXPECT_FALSE(convertFrameRows(kRow, kWidth, 1, dst.data(), 19, 32));  // pitch < 5 x 4
    EXPECT_FALSE(convertFrameRows(kRow, kWidth, 1, dst.data(), 0, 16));
    EXPECT_FALSE(convertFrameRows(kRow, 0, 1, dst.data(), 64, 24));
    EXPECT_FALSE(convertFrameRows(kRow, kWidth, -1, dst.data(), 64, 24));
    EXPECT_FALSE(convertFrameRows(nullptr, kWidth, 1, dst.data(), 64, 24));
    for (uint8_t b : dst) EXPECT_EQ(b, 0xEE);
}
