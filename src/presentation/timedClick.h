// The timed click: four seconds to click the message window's clock. The clock's hand runs down
// one full turn and a flash picture fades out over the same time; a click (or OK after an arrow
// key, which puts the cursor on the clock) within 55 pixels of its centre sets a variable to 1.
#pragma once
#include <cstdint>

#include "config/colourName.h"

class cImage;

// Runs when the gate variable is not 0 and the result variable is 0; a hit sets the result
// variable to 1. True.
bool runTimedChoice(const char* resultVariable, const char* gateVariable);

// What the timed click calls to sound and draw, real by default; tests put their own in.
struct TimedClickCallees {
    bool (*playSE)(const char* name);
    void (*stopSE)();
    bool (*flashScreen)(int32_t count, RgbColour colour);
    bool (*bltRotated)(cImage& dst, const cImage& src, int32_t dstX, int32_t dstY, int32_t srcX,
                       int32_t srcY, double turns, double scale);
    bool (*bltBlend)(cImage& dst, const cImage& src, uint8_t mode, int x, int y, int opacity);
};
TimedClickCallees& timedClickCallees();
// The real callees again.
void restoreTimedClickCallees();
