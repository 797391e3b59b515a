// Kernels of the plain, opacity and fill drawing, one per pair of pixel formats. Each takes the
// first destination and source pixel, the pitches in pixels and the clipped size, and returns true.
#pragma once
#include <cstdint>

using PlainKernel = bool (*)(uint8_t* dst, const uint8_t* src, int dstPitch, int srcPitch, int w,
                             int h);
using OpacityKernel = bool (*)(uint8_t* dst, const uint8_t* src, int dstPitch, int srcPitch, int w,
                               int h, int opacity);

// The kernel of a pixelFormatPairKey; null for a key outside the sixteen pairs.
PlainKernel plainKernelFor(int pairKey);
OpacityKernel opacityKernelFor(int pairKey);

// Fills w x h pixels (rows stepping by pitch pixels) with the colour given as blue, green, red; false
// for an unsupported pixel size.
bool fillKernel(uint8_t* dst, int bytesPerPixel, int pitch, int w, int h, const uint8_t bgr[3]);
// The same laid over with weight alpha (1..254).
bool fillAlphaKernel(uint8_t* dst, int bytesPerPixel, int pitch, int w, int h, const uint8_t bgr[3],
                     int alpha);
