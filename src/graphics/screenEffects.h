// Timed screen effects over the back buffer: flash, shake and the noise test.
#pragma once
#include <cstdint>

#include "config/colourName.h"

// The screen filled with the colour and shown again, count times (1 to 10).
bool flashScreen(int32_t count, RgbColour colour);
// The scene shaken with the amplitudes (pixels) and frequencies (radians over the duration).
bool shakeScreen(int32_t amplitudeX, int32_t amplitudeY, int32_t frequencyX, int32_t frequencyY,
                 uint32_t ms);
// The noise test picture in four phases; the values are not used.
void playNoiseEffect(int32_t v0, int32_t v1, int32_t v2, int32_t v3, int32_t v4, int32_t v5,
                     int32_t v6, int32_t v7);
