// Glyph coverage: the 8 x 8 reduction of a 1-bit outline bitmap to 256 coverage levels, the
// widening of bold glyphs, and the blending of a coverage bitmap in a colour into an image.
#pragma once
#include <cstdint>

class cImage;

// Entry v: 0 when the byte v has no bit set, else (number of set bits) x 32 - 1.
const uint32_t* coverageTable();

// Reduces the outline (outlineRows rows of outlineStride bytes, 1 bit per pixel) to coverage rows
// of coverageStride bytes: each outline byte column of a band of 8 rows becomes one coverage pixel;
// a last band of 1 to 7 rows counts the missing rows as empty. Writes outlineStride bytes of
// ceil(outlineRows / 8) rows.
void downsampleGlyph(uint8_t* coverage, const uint8_t* outline, int32_t coverageStride,
                     int32_t outlineRows, int32_t outlineStride);

// Bold: every pixel from the right end down to x = 1 gains its left neighbour (unwidened), at most
// 255.
void widenBold(uint8_t* coverage, int32_t width, int32_t height, int32_t stride);

// A coverage bitmap and where it goes relative to the pen.
struct CoverageBitmap {
    const uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
    int32_t originX = 0;
    int32_t originY = 0;
};

// Blends the coverage in the colour into the image with its top-left at (x + originX, y + originY),
// the coverage as weight; on 2- and 4-byte images the alpha byte becomes the union of its old value
// and the coverage. Clipped by the image; true when clipped away; false for an image without
// pixels, a missing coverage bitmap or an unknown pixel format.
bool blitCoverage(cImage& image, int32_t x, int32_t y, const CoverageBitmap& glyph, uint8_t r,
                  uint8_t g, uint8_t b);
