// Clip-and-dispatch cores of the plain, opacity and fill drawing, and the placement codes.
#pragma once
#include <cstdint>
#include <vector>

#include "graphics/graphics.h"
#include "graphics/image.h"

// Placement code 0..8 = column + 3 x row; column 0 left, 1 right, 2 centre; row 0 top, 1 bottom,
// 2 middle. The point given is where that part of the image goes.
enum Anchor {
    kAnchorTopLeft = 0,
    kAnchorTopRight = 1,
    kAnchorTopCentre = 2,
    kAnchorBottomLeft = 3,
    kAnchorBottomRight = 4,
    kAnchorBottomCentre = 5,
    kAnchorMiddleLeft = 6,
    kAnchorMiddleRight = 7,
    kAnchorCentre = 8,
};

// Moves (x, y) from the anchor's point to the image's top-left (halves toward zero); codes 0 and
// above 8 leave it.
void adjustForAnchor(int64_t& x, int64_t& y, int width, int height, int anchor);

// A clipped rectangle ready for a kernel: first pixels, pitches in pixels, size.
struct BlitSpan {
    uint8_t* dst;
    const uint8_t* src;
    int dstPitch;
    int srcPitch;
    int width;
    int height;
};

enum class ClipOutcome {
    kRefused,  // an image without pixels
    kEmpty,    // clipped away: nothing to draw, success
    kDraw,
};

// The clip rule shared by the plain, opacity and blend cores, in 64-bit arithmetic. When the
// rectangles of src and dst share memory (an image drawn onto itself), the source rectangle is first
// copied into scratch and the span reads from there.
ClipOutcome clipBlit(cImage& dst, const cImage& src, int64_t x, int64_t y, int64_t w, int64_t h,
                     int64_t sx, int64_t sy, BlitSpan& span, std::vector<uint8_t>& scratch);

bool bltClipped(cImage& dst, const cImage& src, int64_t x, int64_t y, int64_t w, int64_t h,
                int64_t sx, int64_t sy);
bool bltOpacityClipped(cImage& dst, const cImage& src, int64_t x, int64_t y, int64_t w, int64_t h,
                       int64_t sx, int64_t sy, int opacity);
bool fillClipped(cImage& dst, Rgb rgb, int64_t x, int64_t y, int64_t w, int64_t h);
bool fillAlphaClipped(cImage& dst, Rgb rgb, int64_t x, int64_t y, int64_t w, int64_t h,
                      int alpha);
