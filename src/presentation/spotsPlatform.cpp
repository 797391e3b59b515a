// The program's side of the button tables: the left button's handlers and the cursor move.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "base/input.h"
#include "base/mainWindowHandle.h"
#include "presentation/spots.h"

namespace {
void moveCursor(int32_t x, int32_t y) {
    POINT p = {x, y};
    if (gMainWindow && ClientToScreen(gMainWindow, &p)) SetCursorPos(p.x, p.y);
}
}  // namespace

void installButtonPlatform() {
    setButtonHandlers(mSpots::PressButtons, mSpots::ReleaseButtons);
    setSpotCursorMover(moveCursor);
}
