// The kernels of the noise effect and the random numbers they draw.
#pragma once
#include <cstdint>

#include "graphics/image.h"

// The runtime's rand (0..32767), or the generator a test installed.
int effectRand();
// Test seam: replaces the generator (null restores rand). It must return non-negative values.
using RandSource = int (*)();
void setRandSource(RandSource source);

// Each kernel needs two images with pixels, 3 bytes per pixel and the same size (else false, nothing
// drawn); rows step by the width; dst and src may be the same image. rnd(a) below is
// effectRand() % (2a) - a, or -a when 2a is 0.
//
// A table of 256 rnd(a) values, then per row a start s = effectRand() % 256: byte k of pixel x
// becomes src + table[(s + x) & 255], clamped to 0..255.
bool addRowNoise(cImage& dst, const cImage& src, int32_t a);
// Per row an offset rnd(a): pixel x becomes source pixel x + offset of the same row (clamped into
// the row).
bool jitterRows(cImage& dst, const cImage& src, int32_t a);
// A table of 64 rnd(a) values: byte i of the image becomes src[i] + table[((i >> 6) + i) & 63],
// clamped to 0..255.
bool addStreamNoise(cImage& dst, const cImage& src, int32_t a);
