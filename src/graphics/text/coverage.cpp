#include "graphics/text/coverage.h"

#include <algorithm>

#include "graphics/image.h"
#include "graphics/pixelMath.h"

namespace {
uint32_t gCoverageTable[256];
bool gCoverageTableBuilt = false;

void buildCoverageTable() {
    for (int v = 0; v < 256; ++v) {
        int bits = 0;
        for (int k = 0; k < 8; ++k) bits += (v >> k) & 1;
        gCoverageTable[v] = bits == 0 ? 0u : static_cast<uint32_t>(bits * 32 - 1);
    }
    gCoverageTableBuilt = true;
}
}  // namespace

const uint32_t* coverageTable() {
    if (!gCoverageTableBuilt) buildCoverageTable();
    return gCoverageTable;
}

void downsampleGlyph(uint8_t* coverage, const uint8_t* outline, int32_t coverageStride,
                     int32_t outlineRows, int32_t outlineStride) {
    const uint32_t* t = coverageTable();
    if (!coverage || !outline || outlineRows <= 0 || outlineStride <= 0) return;
    for (int32_t row = 0; row < outlineRows; row += 8) {
        int32_t band = std::min<int32_t>(8, outlineRows - row);
        const uint8_t* src = outline + static_cast<int64_t>(row) * outlineStride;
        for (int32_t x = 0; x < outlineStride; ++x) {
            uint32_t sum = 0;
            for (int32_t k = 0; k < band; ++k) sum += t[src[static_cast<int64_t>(k) * outlineStride + x]];
            coverage[x] = static_cast<uint8_t>(sum >> 3);
        }
        coverage += coverageStride;
    }
}

void widenBold(uint8_t* coverage, int32_t width, int32_t height, int32_t stride) {
    if (!coverage) return;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = coverage + static_cast<int64_t>(y) * stride;
        for (int32_t x = width - 1; x >= 1; --x) row[x] = static_cast<uint8_t>(std::min(255, row[x] + row[x - 1]));
    }
}

bool blitCoverage(cImage& image, int32_t x, int32_t y, const CoverageBitmap& glyph, uint8_t r,
                  uint8_t g, uint8_t b) {
    int64_t X = static_cast<int64_t>(x) + glyph.originX;
    int64_t Y = static_cast<int64_t>(y) + glyph.originY;
    int64_t w = glyph.width, h = glyph.height, cx = 0, cy = 0;
    if (X < 0) {
        w += X;
        cx = -X;
        X = 0;
    }
    if (Y < 0) {
        h += Y;
        cy = -Y;
        Y = 0;
    }
    w = std::min({w, static_cast<int64_t>(image.width) - X, static_cast<int64_t>(glyph.width) - cx});
    h = std::min({h, static_cast<int64_t>(image.height) - Y, static_cast<int64_t>(glyph.height) - cy});
    if (w < 1 || h < 1) return true;
    if (!image.HasPixels() || !glyph.pixels) return false;

    const int bpp = image.bytesPerPixel;
    if (bpp < 1 || bpp > 4) return false;
    const uint8_t colour[3] = {b, g, r};
    const uint8_t grey = greyOf(r, g, b);
    for (int64_t row = 0; row < h; ++row) {
        uint8_t* d = image.pixels + ((Y + row) * image.width + X) * bpp;
        const uint8_t* c = glyph.pixels + (cy + row) * glyph.stride + cx;
        for (int64_t col = 0; col < w; ++col, d += bpp) {
            int a = c[col];
            switch (bpp) {
                case 1:
                    d[0] = alphaOver(d[0], grey, a);
                    break;
                case 2:
                    d[0] = alphaUnion(d[0], a);
                    d[1] = alphaOver(d[1], grey, a);
                    break;
                case 3:
                    for (int k = 0; k < 3; ++k) d[k] = alphaOver(d[k], colour[k], a);
                    break;
                default:
                    d[0] = alphaUnion(d[0], a);
                    for (int k = 1; k < 4; ++k) d[k] = alphaOver(d[k], colour[k - 1], a);
                    break;
            }
        }
    }
    return true;
}
