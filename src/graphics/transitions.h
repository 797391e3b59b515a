// Screen transitions: the cross-fade of each frame of a scene change (two formulas: the plain one
// and the processor's fast one, which differ in their results), the dimming behind the backlog,
// and the rule-image wipes of the script command "wipe". The kernels work on the bytes that all
// their canvases hold, so a smaller canvas never makes them read or write past its end; an image
// without pixels makes them do nothing.
#pragma once
#include <cstdint>

#include "graphics/image.h"

// dst = next weighted by t and prev by 255 - t, each byte (n t + p (255 - t)) >> 8; t is clamped to
// 255. A byte equal in next and prev comes out one level lower. With EnableMMX the fast formula
// runs instead.
void crossFade(cImage& dst, const cImage& next, const cImage& prev, uint32_t t);
// dst = (n t + p (256 - t)) >> 8 per byte: equal bytes stay as they are; t is clamped to 255.
void crossFadeMmx(cImage& dst, const cImage& next, const cImage& prev, uint32_t t);
// dst = (src x level) >> 8 per byte; level clamped to 255 (128 halves the picture).
void scaleBrightness(cImage& dst, const cImage& src, uint32_t level);

// Wipe progress runs from 0 to 1024 (finished). The canvases are screen canvases of 3 bytes per
// pixel and the rule a mask of one byte per pixel; the step covers the screen's pixels that all of
// them hold.
// Hard edge, in place: every pixel whose rule value is below progress >> 2 takes next's pixel.
void maskWipeHardStep(cImage& dst, const cImage& next, const cImage& rule, int32_t progress);
// Soft band 255 rule values wide: w = rule - ((progress - 512) >> 1); below 1 next, above 255
// prev, between each byte next + div255((prev - next) x w).
void maskWipeSoftStep(cImage& dst, const cImage& next, const cImage& prev, const cImage& rule,
                      int32_t progress);

// The wipes: the scene composed anew (composeScene draws it into gNextScreen) is revealed over the
// picture on screen in the order of a grey rule picture (lower rule values first), with a hard edge
// or a soft band. Each runs its own frame loop until done, skipped or quit, and leaves gBackBuffer
// equal to gNextScreen. With effects off or 0 ms: gNextScreen copied and presented at once, not
// composed anew, true. False when the rule picture cannot be loaded (the screen left as it was).
bool maskWipeHard(const char* rule, uint32_t ms, void (*composeScene)());
bool maskWipeSoft(const char* rule, uint32_t ms, void (*composeScene)());
