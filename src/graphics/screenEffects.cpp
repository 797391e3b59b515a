#include "graphics/screenEffects.h"

// not built yet
bool flashScreen(int32_t, RgbColour) { return true; }
// not built yet
bool shakeScreen(int32_t, int32_t, int32_t, int32_t, uint32_t) { return true; }
// not built yet
void playNoiseEffect(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {}
