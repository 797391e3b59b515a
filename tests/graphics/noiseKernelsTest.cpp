// The noise kernels over numbers from a scripted generator, written out again here; the row jitter
// onto its own picture; the refusals.
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "graphics/image.h"
#include "graphics/noiseKernels.h"
#include "testing.h"

namespace {

// A generator whose values the test can repeat: a fixed sequence of 15-bit numbers.
uint32_t gState = 0;
int scripted() {
    gState = gState * 1103515245u + 12345u;
    return int((gState >> 16) & 0x7FFF);
}
struct ScriptedRand {
    explicit ScriptedRand(uint32_t seed) {
        gState = seed;
        setRandSource(scripted);
    }
    ~ScriptedRand() { setRandSource(nullptr); }
};
// The same numbers for the expectations.
struct Numbers {
    uint32_t state;
    explicit Numbers(uint32_t seed) : state(seed) {}
    int next() {
        state = state * 1103515245u + 12345u;
        return int((state >> 16) & 0x7FFF);
    }
    int rnd(int a) { return 2 * a == 0 ? -a : next() % (2 * a) - a; }
};

int clamp(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

void picture(cSprite& image, int w, int h, uint32_t seed) {
    ASSERT_TRUE(image.Create(3, w, h));
    std::mt19937 rng(seed);
    for (uint64_t i = 0; i < image.ByteCount(); ++i) image.pixels[i] = uint8_t(rng());
}
std::vector<uint8_t> bytes(const cImage& image) {
    return std::vector<uint8_t>(image.pixels, image.pixels + image.ByteCount());
}

}  // namespace

TEST(NoiseKernels, RowNoiseFromItsTableAndRowStarts) {
    cSprite src, dst;
    picture(src, 300, 4, 1);
    picture(dst, 300, 4, 2);
    for (int a : {37, 0, 1}) {
        ScriptedRand r(99 + a);
        ASSERT_TRUE(addRowNoise(dst, src, a));
        Numbers n(99 + a);
        int table[256];
        for (int& t : table) t = n.rnd(a);
        for (int y = 0; y < 4; ++y) {
            const int start = n.next() % 256;
            for (int x = 0; x < 300; ++x)
                for (int k = 0; k < 3; ++k) {
                    const int i = (y * 300 + x) * 3 + k;
                    ASSERT_EQ(clamp(src.pixels[i] + table[(start + x) & 255]), dst.pixels[i]) << a << " " << x << "," << y;
                }
        }
    }
}

TEST(NoiseKernels, JitterMovesEachRow) {
    cSprite src, dst;
    picture(src, 20, 6, 3);
    picture(dst, 20, 6, 4);
    ScriptedRand r(7);
    ASSERT_TRUE(jitterRows(dst, src, 5));
    Numbers n(7);
    for (int y = 0; y < 6; ++y) {
        const int offset = n.rnd(5);
        for (int x = 0; x < 20; ++x) {
            int from = x + offset;
            from = from < 0 ? 0 : from > 19 ? 19 : from;
            ASSERT_EQ(0, std::memcmp(src.pixels + (y * 20 + from) * 3, dst.pixels + (y * 20 + x) * 3, 3)) << x << "," << y;
        }
    }
}

TEST(NoiseKernels, JitterOntoItsOwnPictureReadsTheRowAsItWas) {
    // Negative offsets read to the left of the pixel written, which a pass over the picture itself
    // would already have replaced.
    for (uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
        cSprite a, b, copy;
        picture(a, 31, 9, seed);
        copy = a;
        b = a;
        {
            ScriptedRand r(seed);
            ASSERT_TRUE(jitterRows(a, a, 7));
        }
        {
            ScriptedRand r(seed);
            ASSERT_TRUE(jitterRows(b, copy, 7));
        }
        EXPECT_EQ(bytes(b), bytes(a)) << seed;
    }
}

TEST(NoiseKernels, StreamNoiseFromItsTable) {
    cSprite src, dst;
    picture(src, 50, 7, 5);
    picture(dst, 50, 7, 6);
    ScriptedRand r(1234);
    ASSERT_TRUE(addStreamNoise(dst, src, 40));
    Numbers n(1234);
    int table[64];
    for (int& t : table) t = n.rnd(40);
    for (size_t i = 0; i < dst.ByteCount(); ++i)
        ASSERT_EQ(clamp(src.pixels[i] + table[((i >> 6) + i) & 63]), dst.pixels[i]) << i;
}

TEST(NoiseKernels, OnlySameSizedThreeByteImagesWithPixels) {
    cSprite a, b, c, d, empty;
    picture(a, 8, 8, 1);
    picture(b, 8, 7, 2);
    ASSERT_TRUE(c.Create(4, 8, 8));
    ASSERT_TRUE(d.Create(1, 8, 8));
    std::memset(c.pixels, 0, c.ByteCount());
    std::memset(d.pixels, 0, d.ByteCount());
    cImage sized;  // sizes without pixels
    sized.bytesPerPixel = 3;
    sized.width = sized.height = sized.pitch = 8;
    const std::vector<uint8_t> before = bytes(a);
    using Kernel = bool (*)(cImage&, const cImage&, int32_t);
    for (Kernel k : {Kernel(addRowNoise), Kernel(jitterRows), Kernel(addStreamNoise)}) {
        EXPECT_FALSE(k(a, b, 5));
        EXPECT_FALSE(k(a, c, 5));
        EXPECT_FALSE(k(c, c, 5));
        EXPECT_FALSE(k(a, d, 5));
        EXPECT_FALSE(k(a, empty, 5));
        EXPECT_FALSE(k(empty, a, 5));
        EXPECT_FALSE(k(sized, a, 5));
        EXPECT_FALSE(k(a, sized, 5));
        EXPECT_EQ(before, bytes(a));
    }
}
