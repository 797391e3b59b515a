// Timed screen effects over the back buffer: flash, shake and the noise test.
#pragma once
#include <cstdint>

#include "config/colourName.h"
#include "graphics/image.h"

// The screen filled with the colour and shown, then the scene shown again, count times (clamped to
// 1 to 10), without a pause; true.
bool flashScreen(int32_t count, RgbColour colour);
// The scene shaken with the amplitudes (pixels) and frequencies (radians over the duration) for ms
// milliseconds, presenting each frame; skip or quit end it at once, and the scene is left drawn
// unshaken in the back buffer (not presented). Nothing when the screen effects are off or ms is 0;
// true.
bool shakeScreen(int32_t amplitudeX, int32_t amplitudeY, int32_t frequencyX, int32_t frequencyY,
                 uint32_t ms);
// The noise test over the test picture "_test.png" in four phases of 3, 3, 3 and 4 seconds; the
// values are not used.
void playNoiseEffect(int32_t v0, int32_t v1, int32_t v2, int32_t v3, int32_t v4, int32_t v5,
                     int32_t v6, int32_t v7);
// The four phases of the noise test over the given picture (playNoiseEffect without the loading).
void runNoisePhases(const cImage& testPicture);
