#include "graphics/rotatedBlit.h"

// not built yet
bool bltRotated(cImage&, const cImage&, int32_t, int32_t, int32_t, int32_t, double, double) { return false; }
