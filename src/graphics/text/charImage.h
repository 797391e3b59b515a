// The glyph rasteriser over GDI: one character rendered as a 1-bit outline at eight times its
// size, reduced to 256 coverage levels, optionally widened for bold fonts, and blended in a colour
// into any image.
#pragma once
#include <cstdint>

#include "graphics/image.h"
#include "graphics/text/coverage.h"
#include "graphics/text/glyphSource.h"

struct HDC__;
struct HFONT__;

class cCharImage {
public:
    cCharImage() = default;
    cCharImage(const cCharImage&) = delete;
    cCharImage& operator=(const cCharImage&) = delete;
    ~cCharImage();

    // Renders one character (a byte, or lead byte x 256 + trail byte) of the font at scale times
    // its size. False for a null font or code 0, or when GDI has no glyph for the code; the last
    // glyph is then forgotten (nothing drawn, no advance).
    bool Render(HFONT__* font, uint32_t code, double scale);
    // The outline and reduction steps (the font selected into the device context).
    bool Rasterize(uint32_t code, double scale, bool bold);
    void Downsample(uint8_t* coverage, const uint8_t* outline, int32_t coverageStride,
                    int32_t outlineRows, int32_t outlineStride);
    // Blends the last glyph in the colour into the image with its top-left at (x + originX,
    // y + originY).
    bool Blit(cImage& image, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b);

    int32_t originX = 0;
    int32_t originY = 0;
    int32_t coverageWidth = 0;
    int32_t coverageHeight = 0;
    int32_t stride = 0;
    int32_t advanceX = 0;
    int32_t advanceY = 0;
    bool vertical = false;

private:
    void Forget();

    HDC__* m_dc = nullptr;  // memory device context, made at the first render
    cBuf m_glyph;
    cBuf m_coverage;
};

// The shared rasteriser of the text pens.
extern cCharImage gCharImage;

// A glyph source over a rasteriser, with fonts made by CreateFontIndirectA.
cGlyphSource* systemGlyphSource(cCharImage& rasteriser);

// Start-up: the text pens render through gCharImage and the system's lead-byte test is used.
void initTextRendering();
