#include "scenario/anime/composition.h"

#include <cstring>

#include "base/clock.h"
#include "base/displayMode.h"
#include "base/framePacer.h"
#include "base/input.h"
#include "base/settings.h"
#include "graphics/blit.h"
#include "graphics/graphics.h"
#include "graphics/screen.h"
#include "graphics/transitions.h"
#include "scenario/anime/pictureSlots.h"

namespace mAnime {
namespace {
// The whole picture with its top-left at (x, y), placed in 64 bits.
void drawAt(cImage& frame, const cSprite& picture, int64_t x, int64_t y) {
    if (picture.HasPixels()) bltClipped(frame, picture, x, y, picture.width, picture.height, 0, 0);
}
}  // namespace

void cAnimeLayer::Draw(cCanvas& frame) const {
    if (!image.HasPixels() || mode == 0) return;
    if (mode == 1) gGraphics.BltOpacity(frame, image, 0, 0, alpha);
    else gGraphics.BltBlend(frame, image, mode, 0, 0, alpha);
}

void cAnimeData::Draw(cCanvas& frame) {
    // A name the sprite holds costs nothing; an empty one keeps the picture.
    base.LoadPng(baseName.c_str());
    face.LoadPng(faceName.c_str());
    for (cAnimeLayer& layer : layers) layer.image.LoadPng(layer.name.c_str());

    const int64_t left = int64_t(x) - originX;
    const int64_t top = int64_t(y) - originY;
    switch (type) {
    case kAnimeTypeImage:
    case kAnimeTypeBack:
        drawAt(frame, base, left, top);
        break;
    case kAnimeTypeColour:
        frame.FillRgb(colour.red, colour.green, colour.blue);
        break;
    case kAnimeTypeMovie: {
        clearAnimeRegisters();
        drawAt(frame, base, left, top);
        const double t = static_cast<double>(elapsedMs(startTime, currentTimeMs()));
        for (const cAnimeCommand& step : commands) runAnimeCommand(step, frame, layers, t, x, y);
        break;
    }
    case kAnimeTypeActor:
        drawAt(frame, base, left, top);
        drawAt(frame, face, left + faceX, top + faceY);
        break;
    default:
        break;
    }
}

void cAnimeData::DrawLayers(cCanvas& frame) {
    if (type != kAnimeTypeBack) return;
    for (const cAnimeLayer& layer : layers) layer.Draw(frame);
}

}  // namespace mAnime

void composeAllAnime() {
    if (gNextScreen.HasPixels())
        std::memset(gNextScreen.pixels, 0, static_cast<size_t>(gNextScreen.ByteCount()));
    for (mAnime::cAnimeData& slot : gAnimeState.slots) slot.Draw(gNextScreen);
    for (mAnime::cAnimeData& slot : gAnimeState.slots) slot.DrawLayers(gNextScreen);
    gAnimeDirty = 0;
}

void composeScreenNow() {
    composeAllAnime();
    gFadeTime = 0;
}

namespace {
// Fades run with effects on unless skipping, and always in display modes system and demo.
bool fadesRun() {
    return (UserSettings.screenEffects && !isSkipping()) || MsgWindowMode == kModeSystem ||
           MsgWindowMode == kModeDemo;
}

uint64_t fadeAlpha(uint32_t elapsed, uint32_t fadeTime) {
    return uint64_t(elapsed) * 256 / uint64_t(fadeTime);
}

// The slots are composed every frame, and a movie slot's program runs each time.
bool composedEveryFrame() {
    return MsgWindowMode == kModeSystem || gAnimeState.slots[0].type == kAnimeTypeMovie;
}

bool programsMove() {
    if (gAnimeState.slots[0].type == kAnimeTypeMovie) return true;
    if (MsgWindowMode != kModeSystem) return false;
    for (const mAnime::cAnimeData& slot : gAnimeState.slots)
        if (slot.type == kAnimeTypeMovie) return true;
    return false;
}
}  // namespace

uint32_t nextFadeStepMs(uint32_t elapsed, uint32_t fadeTime) {
    if (fadeTime == 0) return elapsed;
    const uint64_t alpha = fadeAlpha(elapsed, fadeTime);
    if (alpha >= 256) return elapsed;
    // The least e with e x 256 / fadeTime > alpha.
    const uint64_t step = ((alpha + 1) * uint64_t(fadeTime) + 255) / 256;
    return static_cast<uint32_t>(step);
}

void paceScene(cFramePacer& pacer) {
    if (programsMove()) pacer.EveryFrame();
    // The slots changed: the frame is recomposed now, and its fade (the one updateScreen will
    // start) begins at its first step.
    int32_t fade = gFadeTime;
    uint32_t fadeStart = gFadeStart;
    if (gAnimeDirty) {
        pacer.ChangedNow();
        fade = gRequestedFadeTime >= 0 ? gRequestedFadeTime : 500;
        fadeStart = pacer.Now();
    }
    // A running cross-fade moves step by step; once over (or when none runs) the frame is the
    // composition itself.
    if (fade > 0 && fadesRun()) {
        const uint32_t fadeTime = static_cast<uint32_t>(fade);
        const uint32_t elapsed = elapsedMs(fadeStart, pacer.Now());
        const uint64_t alpha = fadeAlpha(elapsed, fadeTime);
        if (alpha < 256) {
            pacer.Moving(alpha, fadeStart + nextFadeStepMs(elapsed, fadeTime));
            return;
        }
    }
    pacer.Key(256);
}

void updateScreen() {
    if (gAnimeDirty) {
        gFadeTime = gRequestedFadeTime >= 0 ? gRequestedFadeTime : 500;
        gRequestedFadeTime = -1;
        // The old picture is the last composition, not the partly faded frame on screen.
        gGraphics.CopyScreen(gPrevScreen, gNextScreen);
        composeAllAnime();
        gFadeStart = currentTimeMs();
    } else if (composedEveryFrame()) {
        composeAllAnime();
    }

    if (!fadesRun()) gFadeTime = 0;

    if (gFadeTime > 0) {
        const uint64_t alpha = fadeAlpha(elapsedMs(gFadeStart, currentTimeMs()), uint32_t(gFadeTime));
        if (alpha < 256) {
            crossFade(gBackBuffer, gNextScreen, gPrevScreen, static_cast<uint32_t>(alpha));
            return;
        }
        gFadeTime = 0;
    }
    gGraphics.CopyScreen(gBackBuffer, gNextScreen);
}
