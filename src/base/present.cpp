#include "base/present.h"

uint8_t gAppActive = 0;
uint8_t gIsFullScreen = 0;
uint8_t gSkipQuitConfirm = 0;

namespace {
PresentFn gPresent = nullptr;
PresentFullScreenFn gPresentFull = nullptr;
}  // namespace

void setPresentHooks(PresentFn present, PresentFullScreenFn presentFull) {
    gPresent = present;
    gPresentFull = presentFull;
}

void presentScreen() {
    if (gPresent) gPresent();
}

bool presentFullScreen(const uint8_t* pixels) {
    return gPresentFull ? gPresentFull(pixels) : false;
}
