// The scanline filters as the decoder runs them (vector forms where the processor has them)
// against the plain scalar form: every predictor input for Average and Paeth, and random rows of
// every filter, pixel size and many widths.
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "graphics/png/pngUnfilter.h"
#include "testing.h"

namespace {
using Row = std::vector<uint8_t>;

// Both forms on copies of the same row; the restored rows must be equal.
void expectSame(int filter, const Row& prev, const Row& cur, int width, int bpp) {
    Row fast = cur, plain = cur;
    pngUnfilterRow(filter, prev.data(), fast.data(), width, bpp);
    pngUnfilterRowScalar(filter, prev.data(), plain.data(), width, bpp);
    ASSERT_EQ(plain, fast) << "filter " << filter << " bpp " << bpp << " width " << width;
}
}  // namespace

// Two pixels a row: the first restores to a (Paeth adds up, Average up >> 1, to it), the second
// meets a, up and c (the first pixel's up) in every combination, bpp values of a in the lanes.
TEST(PngUnfilter, EveryPredictorInputMatchesTheScalarForm) {
    for (int bpp : {3, 4}) {
        for (int filter : {3, 4}) {
            // Average does not look at c.
            const int cs = filter == 4 ? 256 : 1;
            for (int c = 0; c < cs; ++c) {
                for (int up = 0; up < 256; ++up) {
                    for (int a = 0; a < 256; a += bpp) {
                        uint8_t prev[8] = {}, fast[8] = {}, plain[8] = {};
                        for (int k = 0; k < bpp; ++k) {
                            const int ak = (a + k) & 0xFF;
                            prev[k] = static_cast<uint8_t>(c);
                            prev[bpp + k] = static_cast<uint8_t>(up);
                            fast[k] = static_cast<uint8_t>(filter == 4 ? ak - c : ak - (c >> 1));
                            fast[bpp + k] = 0;
                        }
                        std::memcpy(plain, fast, sizeof fast);
                        pngUnfilterRow(filter, prev, fast, 2, bpp);
                        pngUnfilterRowScalar(filter, prev, plain, 2, bpp);
                        for (int k = 0; k < 2 * bpp; ++k)
                            ASSERT_EQ(plain[k], fast[k]) << "filter " << filter << " bpp " << bpp
                                                         << " a " << a << " up " << up << " c " << c;
                    }
                }
            }
        }
    }
}

TEST(PngUnfilter, RandomRowsOfEveryFilterMatchTheScalarForm) {
    std::mt19937 rng(31337);
    std::vector<int> widths;
    for (int w = 1; w <= 40; ++w) widths.push_back(w);
    for (int w : {63, 64, 65, 127, 800}) widths.push_back(w);
    for (int bpp = 1; bpp <= 4; ++bpp) {
        for (int width : widths) {
            for (int filter = 0; filter <= 5; ++filter) {
                Row prev(size_t(width) * bpp), cur(size_t(width) * bpp);
                for (auto& b : prev) b = static_cast<uint8_t>(rng());
                for (auto& b : cur) b = static_cast<uint8_t>(rng());
                // Flat runs, where Paeth's distances tie.
                if (width > 8)
                    for (int i = 0; i < 4 * bpp; ++i) prev[i] = cur[i] = 200;
                expectSame(filter, prev, cur, width, bpp);
                if (::testing::Test::HasFatalFailure()) return;
            }
        }
    }
}
