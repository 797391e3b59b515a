#include "graphics/graphics.h"

#include <cstring>

#include "base/moduleOrder.h"
#include "base/present.h"
#include "config/systemInfo.h"
#include "graphics/blend.h"
#include "graphics/blit.h"

cGraphics gGraphics MODULE_OBJECT(kOrderGraphics);

bool cGraphics::Present(const cImage& image) {
    presentFullScreen(image.pixels);
    return true;
}

bool cGraphics::CopyScreen(cImage& dst, const cImage& src) {
    if (!dst.HasPixels() || !src.HasPixels()) return false;
    uint64_t bytes = 0;
    if (gScreenWidth > 0 && gScreenHeight > 0)
        bytes = static_cast<uint64_t>(gScreenWidth) * static_cast<uint64_t>(gScreenHeight) * 3;
    if (bytes > dst.ByteCount()) bytes = dst.ByteCount();
    if (bytes > src.ByteCount()) bytes = src.ByteCount();
    if (dst.pixels != src.pixels) std::memmove(dst.pixels, src.pixels, static_cast<size_t>(bytes));
    return true;
}

bool cGraphics::BltRect(cImage& dst, const cImage& src, int x, int y, int w, int h, int sx,
                        int sy) {
    return bltClipped(dst, src, x, y, w, h, sx, sy);
}

bool cGraphics::BltAnchored(cImage& dst, const cImage& src, int x, int y, int anchor) {
    int64_t ax = x, ay = y;
    adjustForAnchor(ax, ay, src.width, src.height, anchor);
    return bltClipped(dst, src, ax, ay, src.width, src.height, 0, 0);
}

bool cGraphics::Blt(cImage& dst, const cImage& src, int x, int y) {
    return bltClipped(dst, src, x, y, src.width, src.height, 0, 0);
}

bool cGraphics::BltOpacity(cImage& dst, const cImage& src, int x, int y, int opacity) {
    return bltOpacityClipped(dst, src, x, y, src.width, src.height, 0, 0, opacity);
}

bool cGraphics::BltBlend(cImage& dst, const cImage& src, uint8_t mode, int x, int y, int opacity) {
    return blendOpacityClipped(dst, src, mode, x, y, src.width, src.height, 0, 0, opacity);
}

bool cGraphics::FillRect(cImage& dst, Rgb rgb, int x, int y, int w, int h) {
    return fillClipped(dst, rgb, x, y, w, h);
}

bool cGraphics::FillRectAlpha(cImage& dst, Rgb rgb, int x, int y, int w, int h, int alpha) {
    return fillAlphaClipped(dst, rgb, x, y, w, h, alpha);
}
