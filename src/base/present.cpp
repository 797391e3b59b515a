#include "base/present.h"

#include "base/moduleState.h"

WindowState gWindowState;
uint8_t& gAppActive = gWindowState.appActive;
uint8_t& gIsFullScreen = gWindowState.isFullScreen;
uint8_t& gSkipQuitConfirm = gWindowState.skipQuitConfirm;

namespace {
const cModuleReset kReset(0, [] { gWindowState = WindowState(); });

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
