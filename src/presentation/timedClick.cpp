#include "presentation/timedClick.h"

#include "base/clock.h"
#include "base/framePacer.h"
#include "base/input.h"
#include "base/present.h"
#include "base/settings.h"
#include "graphics/blendModes.h"
#include "graphics/graphics.h"
#include "graphics/rotatedBlit.h"
#include "graphics/screen.h"
#include "graphics/screenEffects.h"
#include "media/sound.h"
#include "presentation/msgBox.h"
#include "presentation/spots.h"
#include "scenario/anime/composition.h"
#include "scenario/variableStore.h"

namespace {
constexpr uint32_t kDurationMs = 4000;
// The clock of the window layout (box at y 400, pivot (715, 105) in the box), in client
// coordinates like the cursor.
constexpr int32_t kCentreX = 715;
constexpr int32_t kCentreY = 505;
constexpr int64_t kHitRadiusSquared = 55 * 55;
constexpr int32_t kHandPivot = 80;
constexpr int32_t kFlashX = 630;
constexpr int32_t kFlashY = 400;
constexpr double kTurnsPerMs = 0.00025;

bool blendOnto(cImage& dst, const cImage& src, uint8_t mode, int x, int y, int opacity) {
    return gGraphics.BltBlend(dst, src, mode, x, y, opacity);
}

const TimedClickCallees kRealCallees = {playSE, stopSE, flashScreen, bltRotated, blendOnto};
// Wiring, not state: an engine reset leaves it.
TimedClickCallees gCallees = kRealCallees;

bool onTheClock(const MousePoint& p) {
    const int64_t dx = static_cast<int64_t>(p.x) - kCentreX;
    const int64_t dy = static_cast<int64_t>(p.y) - kCentreY;
    return dx * dx + dy * dy < kHitRadiusSquared;
}

// Skip mode ends while the clock runs; it comes back unless the player asked choices to end it.
void restoreSkip(bool wasSkipping) {
    if (wasSkipping && !UserSettings.endSkipAfterChoice) setSkipMode();
}
}  // namespace

TimedClickCallees& timedClickCallees() { return gCallees; }
void restoreTimedClickCallees() { gCallees = kRealCallees; }

bool runTimedChoice(const char* resultVariable, const char* gateVariable) {
    const bool wasSkipping = isSkipping();
    // The clock runs at most once until the scenario resets the result.
    if (getVariable(gateVariable) == 0 || getVariable(resultVariable) != 0) return true;

    cSprite hand, flash;
    hand.LoadPng("sys_box_clock_c.png");
    flash.LoadPng("sys_box_flash.png");
    gCallees.playSE("se_020.ogg");
    const uint32_t start = currentTimeMs();
    clearCommand();

    // The hand turns and the flash fades all the time: a frame per display frame, and the loop
    // waits between them for input or the end of the four seconds.
    cFramePacer pacer;
    while (pacer.Poll(kInputScreen, false)) {
        const uint32_t elapsed = elapsedMs(start, currentTimeMs());
        const uint8_t command = getCommand();
        if (command == kCmdClick || command == kCmdOk) {
            clearCommand();
            if (onTheClock(gMousePos)) {
                gCallees.playSE("se_017.ogg");
                gCallees.flashScreen(2, RgbColour{255, 255, 255});
                setVariable(resultVariable, 1);
                clearCommand();
                restoreSkip(wasSkipping);
                return true;
            }
        } else if (command >= kCmdLeft && command <= kCmdDown) {
            // An arrow puts the cursor on the clock, so that OK then hits.
            moveCursorInClient(kCentreX, kCentreY);
        }
        clearCommand();
        if (elapsed > kDurationMs) break;

        pacer.BeginFrame();
        pacer.EveryFrame();
        // The last picture, the hand turned down and the flash gone, is always shown.
        pacer.Key(elapsed >= kDurationMs);
        if (elapsed < kDurationMs) pacer.DueAt(start + kDurationMs);
        pacer.DueAt(start + kDurationMs + 1);  // the time-out
        pacer.PresentIfDue([&] {
            updateScreen();
            gMsgBox.Draw(false);
            // One full turn at the start, none at the end; the flash fades with it.
            const double turns = static_cast<double>(kDurationMs - elapsed) * kTurnsPerMs;
            gCallees.bltRotated(gBackBuffer, hand, kCentreX, kCentreY, kHandPivot, kHandPivot, turns, 1.0);
            int opacity = static_cast<int>(turns * 255);
            if (opacity > 255) opacity = 255;
            gCallees.bltBlend(gBackBuffer, flash, kBlendScreen, kFlashX, kFlashY, opacity);
        });
    }
    // Time out or quit: the start sound is cut.
    gCallees.stopSE();
    clearCommand();
    restoreSkip(wasSkipping);
    return true;
}
