#include "graphics/rotatedBlit.h"

// Not drawn yet: the clock hands of the message box wait for it.
bool bltRotated(cImage&, const cImage&, int32_t, int32_t, int32_t, int32_t, double, double) { return false; }
