#include "graphics/blend.h"

#include <vector>

#include "graphics/blendKernels.h"
#include "graphics/blit.h"

namespace {

using Switch = bool (*)(uint8_t*, const uint8_t*, int, int, int, int, uint8_t);
using OpacitySwitch = bool (*)(uint8_t*, const uint8_t*, int, int, int, int, int, uint8_t);

// Index 0, 1, 2 for 1, 3 and 4 bytes per pixel; -1 for the formats that take no part.
int formatIndex(int bytesPerPixel) {
    switch (bytesPerPixel) {
        case 1: return 0;
        case 3: return 1;
        case 4: return 2;
        default: return -1;
    }
}

const Switch kSwitches[3][3] = {
    {blend8From8, blend8From24, blend8From32},
    {blend24From8, blend24From24, blend24From32},
    {blend32From8, blend32From24, blend32From32},
};
const OpacitySwitch kOpacitySwitches[3][3] = {
    {blendOpacity8From8, blendOpacity8From24, blendOpacity8From32},
    {blendOpacity24From8, blendOpacity24From24, blendOpacity24From32},
    {blendOpacity32From8, blendOpacity32From24, blendOpacity32From32},
};

// Clips and runs the pair's switch; opacity 255 selects the full-opacity switches.
bool blendCore(cImage& dst, const cImage& src, uint8_t mode, int64_t x, int64_t y, int64_t w, int64_t h,
               int64_t sx, int64_t sy, int opacity) {
    BlitSpan span;
    std::vector<uint8_t> scratch;
    const ClipOutcome outcome = clipBlit(dst, src, x, y, w, h, sx, sy, span, scratch);
    if (outcome == ClipOutcome::kRefused) return false;
    if (outcome == ClipOutcome::kEmpty) return true;
    const int di = formatIndex(dst.bytesPerPixel);
    const int si = formatIndex(src.bytesPerPixel);
    if (di < 0 || si < 0) return false;
    if (opacity >= 255)
        return kSwitches[di][si](span.dst, span.src, span.dstPitch, span.srcPitch, span.width, span.height, mode);
    return kOpacitySwitches[di][si](span.dst, span.src, span.dstPitch, span.srcPitch, span.width, span.height,
                                    opacity, mode);
}

}  // namespace

bool blendClipped(cImage& dst, const cImage& src, uint8_t mode, int64_t x, int64_t y, int64_t w, int64_t h,
                  int64_t sx, int64_t sy) {
    return blendCore(dst, src, mode, x, y, w, h, sx, sy, 255);
}

bool blendOpacityClipped(cImage& dst, const cImage& src, uint8_t mode, int64_t x, int64_t y, int64_t w,
                         int64_t h, int64_t sx, int64_t sy, int opacity) {
    if (opacity < 1) return true;
    return blendCore(dst, src, mode, x, y, w, h, sx, sy, opacity >= 255 ? 255 : opacity);
}
