// The rotated and scaled blit.
#pragma once
#include <cstdint>

#include "graphics/image.h"

// Draws src turned by turns (1.0 = a full turn; positive turns counter-clockwise as seen) and
// magnified by scale (not above 0, or not a number: 1) so that its point (srcX, srcY) lands on
// (dstX, dstY) of dst. Every destination pixel samples the nearest source pixel (steps in 1/1024
// of a source pixel) and is drawn by the plain-blit rule of the pair when the sample lies inside
// the source. False for an image without pixels or a pair involving 2 bytes per pixel; a turn that
// is not finite draws nothing.
bool bltRotated(cImage& dst, const cImage& src, int32_t dstX, int32_t dstY, int32_t srcX, int32_t srcY,
                double turns, double scale);

// The same by visiting every destination pixel (no span solving); the reference for tests and the
// benchmark.
bool bltRotatedScan(cImage& dst, const cImage& src, int32_t dstX, int32_t dstY, int32_t srcX, int32_t srcY,
                    double turns, double scale);
