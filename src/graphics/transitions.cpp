#include "graphics/transitions.h"

#include <algorithm>
#include <initializer_list>

#include "base/clock.h"
#include "base/input.h"
#include "base/present.h"
#include "base/settings.h"
#include "config/systemInfo.h"
#include "graphics/graphics.h"
#include "graphics/screen.h"
#include "graphics/transitionKernels.h"

namespace {
// Bytes that every image holds; 0 when one has no pixels.
uint64_t commonBytes(std::initializer_list<const cImage*> images) {
    uint64_t n = UINT64_MAX;
    for (const cImage* image : images) {
        if (!image->HasPixels()) return 0;
        n = std::min(n, image->ByteCount());
    }
    return n;
}

// Screen pixels that every image holds, when each has the wanted bytes per pixel.
uint64_t screenPixels(std::initializer_list<const cImage*> canvases, const cImage& rule) {
    if (!rule.HasPixels() || rule.bytesPerPixel != 1) return 0;
    uint64_t n = 0;
    if (gScreenWidth > 0 && gScreenHeight > 0) n = uint64_t(gScreenWidth) * uint64_t(gScreenHeight);
    n = std::min(n, rule.ByteCount());
    for (const cImage* canvas : canvases) {
        if (!canvas->HasPixels() || canvas->bytesPerPixel != 3) return 0;
        n = std::min(n, canvas->ByteCount() / 3);
    }
    return n;
}
}  // namespace

void crossFade(cImage& dst, const cImage& next, const cImage& prev, uint32_t t) {
    if (isMMXEnabled()) return crossFadeMmx(dst, next, prev, t);
    const uint64_t n = commonBytes({&dst, &next, &prev});
    if (n) crossFadeVector(dst.pixels, next.pixels, prev.pixels, static_cast<size_t>(n), t);
}

void crossFadeMmx(cImage& dst, const cImage& next, const cImage& prev, uint32_t t) {
    const uint64_t n = commonBytes({&dst, &next, &prev});
    if (n) crossFadeMmxVector(dst.pixels, next.pixels, prev.pixels, static_cast<size_t>(n), t);
}

void scaleBrightness(cImage& dst, const cImage& src, uint32_t level) {
    const uint64_t n = commonBytes({&dst, &src});
    if (n) scaleBrightnessVector(dst.pixels, src.pixels, static_cast<size_t>(n), level);
}

void maskWipeHardStep(cImage& dst, const cImage& next, const cImage& rule, int32_t progress) {
    const uint64_t n = screenPixels({&dst, &next}, rule);
    if (n) wipeHardVector(dst.pixels, next.pixels, rule.pixels, static_cast<size_t>(n), progress);
}

void maskWipeSoftStep(cImage& dst, const cImage& next, const cImage& prev, const cImage& rule,
                      int32_t progress) {
    const uint64_t n = screenPixels({&dst, &next, &prev}, rule);
    if (n)
        wipeSoftVector(dst.pixels, next.pixels, prev.pixels, rule.pixels, static_cast<size_t>(n),
                       progress);
}

namespace {
// One wipe: its own frame loop over the rule, presenting each step.
bool maskWipe(const char* rule, uint32_t ms, bool soft, void (*composeScene)()) {
    if (!UserSettings.screenEffects || ms == 0) {
        // The scene is not recomposed on this path.
        gGraphics.CopyScreen(gBackBuffer, gNextScreen);
        presentScreen();
        return true;
    }
    composeScene();
    cMask mask;
    if (!mask.Load(rule)) return false;
    if (!gBackBuffer.HasPixels() || !gNextScreen.HasPixels() || !mask.HasPixels() ||
        (soft && !gPrevScreen.HasPixels()))
        return false;
    // The soft band blends from a snapshot of the picture now on screen.
    if (soft) gGraphics.CopyScreen(gPrevScreen, gBackBuffer);

    const uint32_t start = currentTimeMs();
    while (pollInput(0, false) && !isSkipping()) {
        const uint64_t progress = uint64_t(elapsedMs(start, currentTimeMs())) * 1024 / ms;
        if (progress > 1024) break;
        if (soft)
            maskWipeSoftStep(gBackBuffer, gNextScreen, gPrevScreen, mask, int32_t(progress));
        else
            maskWipeHardStep(gBackBuffer, gNextScreen, mask, int32_t(progress));
        presentScreen();
    }
    gGraphics.CopyScreen(gBackBuffer, gNextScreen);
    if (soft) gGraphics.CopyScreen(gPrevScreen, gNextScreen);
    presentScreen();
    mask.Release();
    return true;
}
}  // namespace

bool maskWipeHard(const char* rule, uint32_t ms, void (*composeScene)()) {
    return maskWipe(rule, ms, false, composeScene);
}
bool maskWipeSoft(const char* rule, uint32_t ms, void (*composeScene)()) {
    return maskWipe(rule, ms, true, composeScene);
}
