// Screen composition: the picture slots composed into gNextScreen, and the per-frame step that
// moves gBackBuffer from the last composition to the new one by a timed cross-fade. Nothing here
// presents: the caller draws its overlays over gBackBuffer and presents.
#pragma once
#include <cstdint>

class cFramePacer;

// Clears gNextScreen to black, draws slots 0 to 9, then the layers of the back slots 0 to 9, and
// clears the dirty flag.
void composeAllAnime();
// One frame step: recompose when the slots changed (or every frame in display mode system or with
// a movie in slot 0), start or continue the cross-fade, leave the frame in gBackBuffer.
void updateScreen();
// Composes at once and cancels a running cross-fade (the wipes do their own transition).
void composeScreenNow();

// The scene's part of a waiting loop's frame (see base/framePacer.h): the frame changes at once
// when the slots changed, every frame while a slot's animation program runs each frame (display
// mode system, or a movie in slot 0), and at every step of a running cross-fade.
void paceScene(cFramePacer& pacer);
// Milliseconds after its start at which a cross-fade of that length reaches its next step, the
// elapsed time given (the last step, 256, at the fade's end).
uint32_t nextFadeStepMs(uint32_t elapsed, uint32_t fadeTime);
