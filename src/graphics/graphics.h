// The graphics object through which every module draws. It has no state: each method ignores
// `this` and works on the images it is given.
#pragma once
#include <cstdint>

#include "graphics/image.h"

// A colour as modules pass it: red, green, blue.
struct Rgb {
    uint8_t r, g, b;
};

class cGraphics {
public:
    // Shows the image in full screen (converted to the display depth); always true.
    bool Present(const cImage& image);
    // Copies the screen-sized pixels of src to dst (bounded by both images' sizes).
    bool CopyScreen(cImage& dst, const cImage& src);

    // The w x h rectangle at (sx, sy) of src onto dst with its top-left at (x, y).
    bool BltRect(cImage& dst, const cImage& src, int x, int y, int w, int h, int sx, int sy);
    // The whole of src placed at (x, y) by an anchor code (see adjustForAnchor).
    bool BltAnchored(cImage& dst, const cImage& src, int x, int y, int anchor);
    // The whole of src with its top-left at (x, y).
    bool Blt(cImage& dst, const cImage& src, int x, int y);
    // As Blt, weighted by an opacity (255 opaque; below 1 draws nothing).
    bool BltOpacity(cImage& dst, const cImage& src, int x, int y, int opacity);
    // As BltOpacity, the source laid on by a blend mode (1 to 4, 6 to 15; others draw nothing and
    // give false).
    bool BltBlend(cImage& dst, const cImage& src, uint8_t mode, int x, int y, int opacity);
    bool FillRect(cImage& dst, Rgb rgb, int x, int y, int w, int h);
    bool FillRectAlpha(cImage& dst, Rgb rgb, int x, int y, int w, int h, int alpha);
};

extern cGraphics gGraphics;
