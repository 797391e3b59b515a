// The clip rule, anchors, the wrappers' special cases and drawing an image onto itself.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "graphics/blit.h"
#include "graphics/graphics.h"
#include "graphics/image.h"
#include "testing.h"

namespace {
// A 3-byte source whose pixel (x, y) is (x, y, 1): blue and green name the source pixel, red marks
// drawn pixels in a destination cleared to 0.
void makeSource(cSprite& s, int w, int h) {
    ASSERT_TRUE(s.Create(3, w, h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = s.pixels + (y * w + x) * 3;
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(y);
            p[2] = 1;
        }
}
void makeCleared(cSprite& d, int w, int h) {
    ASSERT_TRUE(d.Create(3, w, h));
    std::memset(d.pixels, 0, d.ByteCount());
}

struct ClipCase {
    const char* what;
    int64_t x, y, w, h, sx, sy;
    // Expected drawn rectangle in the destination and the source pixel at its top-left.
    int dx, dy, dw, dh, fromX, fromY;
};

// Destination 10 x 8, source 4 x 3.
const ClipCase kClipCases[] = {
    {"inside", 2, 1, 4, 3, 0, 0, 2, 1, 4, 3, 0, 0},
    {"part of the source", 5, 5, 2, 2, 1, 1, 5, 5, 2, 2, 1, 1},
    {"negative destination origin", -2, -1, 4, 3, 0, 0, 0, 0, 2, 2, 2, 1},
    {"negative source origin moves the drawing", 3, 3, 4, 3, -1, -2, 4, 5, 3, 1, 0, 0},
    {"both negative", -1, -1, 4, 3, -1, 0, 0, 0, 3, 2, 0, 1},
    {"cut at the right and bottom edges", 8, 6, 4, 3, 0, 0, 8, 6, 2, 2, 0, 0},
    {"cut by the source size", 0, 0, 9, 9, 2, 1, 0, 0, 2, 2, 2, 1},
    {"huge size", 0, 0, INT_MAX, INT_MAX, 0, 0, 0, 0, 4, 3, 0, 0},
    {"INT_MIN origin with INT_MAX size leaves -1", INT_MIN, 0, INT_MAX, 3, 0, 0, 0, 0, 0, 0, 0, 0},
    {"off the right", 10, 0, 4, 3, 0, 0, 0, 0, 0, 0, 0, 0},
    {"off the left", -4, 0, 4, 3, 0, 0, 0, 0, 0, 0, 0, 0},
    {"off the bottom", 0, 8, 4, 3, 0, 0, 0, 0, 0, 0, 0, 0},
    {"zero width", 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0},
    {"zero height", 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {"negative size", 0, 0, -3, 3, 0, 0, 0, 0, 0, 0, 0, 0},
    {"source origin past the source", 0, 0, 4, 3, 4, 0, 0, 0, 0, 0, 0, 0},
    {"INT_MAX origin", INT_MAX, INT_MAX, 4, 3, 0, 0, 0, 0, 0, 0, 0, 0},
    {"INT_MIN origin", INT_MIN, INT_MIN, 4, 3, 0, 0, 0, 0, 0, 0, 0, 0},
    {"INT_MIN source origin", 0, 0, 4, 3, INT_MIN, INT_MIN, 0, 0, 0, 0, 0, 0},
    {"INT_MAX source origin", 0, 0, INT_MAX, INT_MAX, INT_MAX, INT_MAX, 0, 0, 0, 0, 0, 0},
    {"INT_MIN both", INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MIN, 0, 0, 0, 0, 0, 0},
};
}  // namespace

TEST(Clip, TableOfRectangles) {
    cSprite src;
    makeSource(src, 4, 3);
    for (const ClipCase& c : kClipCases) {
        SCOPED_TRACE(c.what);
        cSprite dst;
        makeCleared(dst, 10, 8);
        for (int opacity : {255, 200}) {
            std::memset(dst.pixels, 0, dst.ByteCount());
            ASSERT_TRUE(bltOpacityClipped(dst, src, c.x, c.y, c.w, c.h, c.sx, c.sy, opacity));
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 10; ++x) {
                    const uint8_t* p = dst.pixels + (y * 10 + x) * 3;
                    bool drawn = x >= c.dx && x < c.dx + c.dw && y >= c.dy && y < c.dy + c.dh;
                    ASSERT_EQ(drawn, p[2] != 0) << x << "," << y;
                    if (drawn && opacity == 255) {
                        EXPECT_EQ(c.fromX + x - c.dx, p[0]) << x << "," << y;
                        EXPECT_EQ(c.fromY + y - c.dy, p[1]) << x << "," << y;
                    }
                }
        }
    }
}

TEST(Clip, ImagesWithoutPixelsAndUnknownFormats) {
    cSprite src, dst, empty;
    makeSource(src, 4, 3);
    makeCleared(dst, 10, 8);
    EXPECT_FALSE(gGraphics.Blt(dst, empty, 0, 0));
    EXPECT_FALSE(gGraphics.Blt(empty, src, 0, 0));
    EXPECT_FALSE(gGraphics.BltRect(empty, src, 100, 100, 1, 1, 0, 0));  // refused before clipping
    EXPECT_FALSE(gGraphics.BltOpacity(dst, empty, 0, 0, 128));
    // Opacity below 1 is success before any check; 255 and more is the plain blit.
    EXPECT_TRUE(gGraphics.BltOpacity(empty, empty, 0, 0, 0));
    EXPECT_TRUE(gGraphics.BltOpacity(empty, empty, 0, 0, -5));
    EXPECT_FALSE(gGraphics.BltOpacity(empty, src, 0, 0, 255));
    ASSERT_TRUE(gGraphics.BltOpacity(dst, src, 1, 1, 1000));
    EXPECT_EQ(1, dst.pixels[(1 * 10 + 1) * 3 + 2]);
    // A failed Create leaves sizes without pixels: refused.
    cSprite failed;
    EXPECT_FALSE(failed.Create(3, 0, 5));
    EXPECT_FALSE(gGraphics.Blt(dst, failed, 0, 0));
    // A pixel format outside 1..4 has no kernel.
    cImage odd;
    uint8_t storage[64] = {};
    odd.bytesPerPixel = 5;
    odd.pixels = storage;
    odd.width = odd.height = odd.pitch = 2;
    EXPECT_FALSE(gGraphics.Blt(dst, odd, 0, 0));
    EXPECT_FALSE(gGraphics.BltOpacity(dst, odd, 0, 0, 100));
    EXPECT_FALSE(gGraphics.FillRect(odd, Rgb{1, 2, 3}, 0, 0, 1, 1));
    EXPECT_FALSE(gGraphics.FillRectAlpha(odd, Rgb{1, 2, 3}, 0, 0, 1, 1, 100));
}

TEST(Clip, AnchorCodes) {
    struct {
        int code, x, y;
    } cases[] = {
        {0, 50, 40}, {1, 43, 40}, {2, 47, 40}, {3, 50, 35}, {4, 43, 35},
        {5, 47, 35}, {6, 50, 38}, {7, 43, 38}, {8, 47, 38}, {9, 50, 40},
        {100, 50, 40}, {-1, 50, 40},
    };
    for (auto& c : cases) {
        int64_t x = 50, y = 40;
        adjustForAnchor(x, y, 7, 5, c.code);  // halves 3 and 2
        EXPECT_EQ(c.x, x) << c.code;
        EXPECT_EQ(c.y, y) << c.code;
    }
    // Centred drawing through the wrapper.
    cSprite src, dst;
    makeSource(src, 3, 3);
    makeCleared(dst, 9, 9);
    ASSERT_TRUE(gGraphics.BltAnchored(dst, src, 4, 4, kAnchorCentre));
    const uint8_t* centre = dst.pixels + (4 * 9 + 4) * 3;
    EXPECT_EQ(1, centre[0]);
    EXPECT_EQ(1, centre[1]);
    EXPECT_EQ(0, dst.pixels[(2 * 9 + 2) * 3 + 2]);
    EXPECT_EQ(1, dst.pixels[(3 * 9 + 3) * 3 + 2]);
    // Extreme points do not overflow.
    EXPECT_TRUE(gGraphics.BltAnchored(dst, src, INT_MIN, INT_MIN, kAnchorBottomRight));
    EXPECT_TRUE(gGraphics.BltAnchored(dst, src, INT_MAX, INT_MAX, kAnchorTopLeft));
}

TEST(Clip, DrawingAnImageOntoItself) {
    // Overlapping shifts in every direction read the source as it was before the drawing.
    const int shifts[][2] = {{1, 1}, {-1, -1}, {2, 0}, {-2, 0}, {0, 1}, {0, -1}, {0, 0}};
    for (auto& s : shifts) {
        for (int bpp : {1, 3, 4}) {
            cSprite img;
            ASSERT_TRUE(img.Create(static_cast<uint8_t>(bpp), 8, 6));
            for (uint64_t i = 0; i < img.ByteCount(); ++i)
                img.pixels[i] = static_cast<uint8_t>(i * 7 + 3);
            if (bpp == 4)
                for (uint64_t i = 0; i < img.ByteCount(); i += 4) img.pixels[i] = 255;
            cSprite copy = img, expected = img;
            ASSERT_TRUE(gGraphics.BltRect(expected, copy, s[0] + 1, s[1] + 1, 5, 4, 1, 1));
            ASSERT_TRUE(gGraphics.BltRect(img, img, s[0] + 1, s[1] + 1, 5, 4, 1, 1));
            EXPECT_EQ(0, std::memcmp(expected.pixels, img.pixels, img.ByteCount()))
                << bpp << " shift " << s[0] << "," << s[1];
            cSprite copy2 = img, expected2 = img;
            ASSERT_TRUE(bltOpacityClipped(expected2, copy2, s[0], s[1], 8, 6, 0, 0, 99));
            ASSERT_TRUE(bltOpacityClipped(img, img, s[0], s[1], 8, 6, 0, 0, 99));
            EXPECT_EQ(0, std::memcmp(expected2.pixels, img.pixels, img.ByteCount()));
        }
    }
}

// Random rectangles for every pair of formats: only the intersection of the source rectangle, the
// source image (moved by the offset x - sx, y - sy) and the destination changes.
TEST(Clip, RandomRectanglesChangeOnlyTheIntersection) {
    std::mt19937 rng(77);
    auto pick = [&](int lo, int hi) { return lo + static_cast<int>(rng() % (hi - lo + 1)); };
    for (int i = 0; i < 3000; ++i) {
        const int db = pick(1, 4), sb = pick(1, 4);
        cSprite dst, src;
        ASSERT_TRUE(dst.Create(static_cast<uint8_t>(db), pick(1, 20), pick(1, 20)));
        ASSERT_TRUE(src.Create(static_cast<uint8_t>(sb), pick(1, 20), pick(1, 20)));
        for (uint64_t k = 0; k < dst.ByteCount(); ++k) dst.pixels[k] = static_cast<uint8_t>(rng());
        for (uint64_t k = 0; k < src.ByteCount(); ++k) src.pixels[k] = static_cast<uint8_t>(rng() | 1);
        const int x = pick(-30, 30), y = pick(-30, 30), w = pick(-5, 40), h = pick(-5, 40);
        const int sx = pick(-30, 30), sy = pick(-30, 30), opacity = pick(-10, 300);
        cSprite before = dst;
        ASSERT_TRUE(bltOpacityClipped(dst, src, x, y, w, h, sx, sy, opacity));
        // The intersection in destination coordinates.
        const int ox = x - sx, oy = y - sy;
        const int left = std::max({x, ox, 0}), top = std::max({y, oy, 0});
        const int right = std::min({x + w, ox + src.width, dst.width});
        const int bottom = std::min({y + h, oy + src.height, dst.height});
        for (int py = 0; py < dst.height; ++py)
            for (int px = 0; px < dst.width; ++px) {
                bool inside = px >= left && px < right && py >= top && py < bottom && opacity >= 1;
                if (inside) continue;
                ASSERT_EQ(0, std::memcmp(before.pixels + (py * dst.width + px) * db,
                                         dst.pixels + (py * dst.width + px) * db, db))
                    << "pixel " << px << "," << py << " outside the drawn rectangle";
            }
        if (db == 3 && sb == 3 && opacity >= 255) {
            for (int py = top; py < bottom; ++py)
                for (int px = left; px < right; ++px)
                    ASSERT_EQ(0, std::memcmp(src.pixels + ((py - oy) * src.width + (px - ox)) * 3,
                                             dst.pixels + (py * dst.width + px) * 3, 3));
        }
    }
}
