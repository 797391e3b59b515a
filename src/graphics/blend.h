// Clip-and-dispatch cores of the blend modes (see blendModes.h for the modes).
#pragma once
#include <cstdint>

#include "graphics/blendModes.h"
#include "graphics/image.h"

// The w x h rectangle at (sx, sy) of src blended onto dst at (x, y) by mode, clipped as the plain
// blit; true when clipped away, false for an image without pixels, a pixel format other than 1, 3
// or 4 bytes on either side, or a mode that does not draw.
bool blendClipped(cImage& dst, const cImage& src, uint8_t mode, int64_t x, int64_t y, int64_t w, int64_t h,
                  int64_t sx, int64_t sy);
// The same weighted by an opacity: below 1 draws nothing (true), 255 or more is blendClipped.
bool blendOpacityClipped(cImage& dst, const cImage& src, uint8_t mode, int64_t x, int64_t y, int64_t w,
                         int64_t h, int64_t sx, int64_t sy, int opacity);
