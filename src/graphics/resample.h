// The box-filter shrink that makes the save thumbnail from the composed scene.
#pragma once

#include "graphics/image.h"

// Resamples src onto the whole of dst, area-weighted in 8.8 fixed point; both 3 bytes per pixel,
// with pixels and non-zero sizes, else false and dst untouched. Meant for shrinking; a destination
// pixel that no source pixel covers (enlargement beyond twice the size) takes the first source
// pixel of its box.
bool resampleImageBox(cImage& dst, const cImage& src);
