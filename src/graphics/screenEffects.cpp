#include "graphics/screenEffects.h"

#include <cmath>

#include "base/clock.h"
#include "base/input.h"
#include "base/present.h"
#include "base/settings.h"
#include "graphics/graphics.h"
#include "graphics/noiseKernels.h"
#include "graphics/screen.h"

bool flashScreen(int32_t count, RgbColour colour) {
    if (count < 1) count = 1;
    if (count > 10) count = 10;
    for (int32_t i = 0; i < count; ++i) {
        gBackBuffer.FillRgb(colour.red, colour.green, colour.blue);
        presentScreen();
        gGraphics.CopyScreen(gBackBuffer, gNextScreen);
        presentScreen();
    }
    return true;
}

namespace {
// trunc(sin(e x f / ms) x amplitude): the quotient of the integers rounded once to a double (the
// product is exact in a double), the sine of radians.
int32_t displacement(uint32_t e, int32_t f, uint32_t ms, int32_t amplitude) {
    const double quotient = static_cast<double>(e) * static_cast<double>(f) / static_cast<double>(ms);
    return static_cast<int32_t>(std::trunc(std::sin(quotient) * amplitude));
}
}  // namespace

bool shakeScreen(int32_t amplitudeX, int32_t amplitudeY, int32_t frequencyX, int32_t frequencyY,
                 uint32_t ms) {
    if (!UserSettings.screenEffects || ms == 0) return true;
    const uint32_t start = currentTimeMs();
    uint32_t e = 0;
    do {
        if (!pollInput(0, false) || isSkipping()) break;
        e = elapsedMs(start, currentTimeMs());
        const int32_t dx = displacement(e, frequencyX, ms, amplitudeX);
        const int32_t dy = displacement(e, frequencyY, ms, amplitudeY);
        // The strip the shifted picture leaves keeps what the back buffer held.
        gGraphics.Blt(gBackBuffer, gNextScreen, dx, dy);
        presentScreen();
    } while (e <= ms);
    gGraphics.Blt(gBackBuffer, gNextScreen, 0, 0);  // shown by the caller's next frame
    return true;
}

namespace {
struct NoisePhase {
    int32_t lengthMs;
    void (*step)(const cImage& picture);
};

void rowNoiseStep(const cImage& picture) { addRowNoise(gBackBuffer, picture, effectRand() % 50 + 10); }
void jitterStep(const cImage& picture) { jitterRows(gBackBuffer, picture, effectRand() % 8); }
void streamNoiseStep(const cImage& picture) { addStreamNoise(gBackBuffer, picture, effectRand() % 20 + 30); }
void jitterThenRowNoiseStep(const cImage& picture) {
    jitterRows(gBackBuffer, picture, effectRand() % 8);
    addRowNoise(gBackBuffer, gBackBuffer, effectRand() % 50 + 10);
}

const NoisePhase kNoisePhases[4] = {
    {3000, rowNoiseStep},
    {3000, jitterStep},
    {3000, streamNoiseStep},
    {4000, jitterThenRowNoiseStep},
};
}  // namespace

void runNoisePhases(const cImage& testPicture) {
    for (const NoisePhase& phase : kNoisePhases) {
        const uint32_t start = currentTimeMs();
        int64_t remaining = 0;
        do {
            if (!pollInput(0, false)) break;
            sleepFor(1);
            remaining = static_cast<int64_t>(phase.lengthMs) - static_cast<int64_t>(elapsedMs(start, currentTimeMs()));
            phase.step(testPicture);
            presentScreen();
        } while (remaining >= 0);
    }
}

void playNoiseEffect(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {
    // Kept for the program's life; loaded again at a run while it holds no picture.
    static cSprite testPicture;
    if (!testPicture.HasPixels()) {
        testPicture.Release();  // forget a failed name so that the file is tried again
        testPicture.LoadPng("_test.png");
    }
    runNoisePhases(testPicture);
}
