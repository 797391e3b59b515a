// The rotated and scaled blit.
#pragma once
#include <cstdint>

#include "graphics/image.h"

// Draws src turned by turns (1.0 = a full turn) and scaled about the point (srcX, srcY), which lands
// on (dstX, dstY) of dst.
bool bltRotated(cImage& dst, const cImage& src, int32_t dstX, int32_t dstY, int32_t srcX, int32_t srcY,
                double turns, double scale);
