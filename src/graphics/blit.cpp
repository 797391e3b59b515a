#include "graphics/blit.h"

#include <algorithm>
#include <cstring>

#include "graphics/blitKernels.h"
#include "graphics/pixelMath.h"

void adjustForAnchor(int64_t& x, int64_t& y, int width, int height, int anchor) {
    if (anchor <= 0 || anchor > 8) return;
    int column = anchor % 3;
    int row = anchor / 3;
    if (column == 1) x -= width;
    if (column == 2) x -= width / 2;
    if (row == 1) y -= height;
    if (row == 2) y -= height / 2;
}

namespace {
// The bytes from a span's first pixel to one past its last.
void spanBytes(const uint8_t* first, int64_t pitch, int64_t bpp, int64_t w, int64_t h,
               uintptr_t& begin, uintptr_t& end) {
    begin = reinterpret_cast<uintptr_t>(first);
    end = begin + static_cast<uintptr_t>(((h - 1) * pitch + w) * bpp);
}
}  // namespace

ClipOutcome clipBlit(cImage& dst, const cImage& src, int64_t x, int64_t y, int64_t w, int64_t h,
                     int64_t sx, int64_t sy, BlitSpan& span, std::vector<uint8_t>& scratch) {
    if (!dst.HasPixels() || !src.HasPixels()) return ClipOutcome::kRefused;
    if (sx < 0) {
        x -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        y -= sy;
        h += sy;
        sy = 0;
    }
    if (x < 0) {
        w += x;
        sx -= x;
        x = 0;
    }
    if (y < 0) {
        h += y;
        sy -= y;
        y = 0;
    }
    w = std::min({w, static_cast<int64_t>(dst.width) - x, static_cast<int64_t>(src.width) - sx});
    h = std::min({h, static_cast<int64_t>(dst.height) - y, static_cast<int64_t>(src.height) - sy});
    if (w < 1 || h < 1) return ClipOutcome::kEmpty;

    const int64_t dbpp = dst.bytesPerPixel;
    const int64_t sbpp = src.bytesPerPixel;
    span.dst = dst.pixels + (y * dst.pitch + x) * dbpp;
    span.src = src.pixels + (sy * src.pitch + sx) * sbpp;
    span.dstPitch = dst.pitch;
    span.srcPitch = src.pitch;
    span.width = static_cast<int>(w);
    span.height = static_cast<int>(h);

    uintptr_t db, de, sb, se;
    spanBytes(span.dst, dst.pitch, dbpp, w, h, db, de);
    spanBytes(span.src, src.pitch, sbpp, w, h, sb, se);
    if (db < se && sb < de) {
        // Drawing onto itself: read from a copy of the source rectangle.
        const size_t row = static_cast<size_t>(w * sbpp);
        scratch.resize(row * static_cast<size_t>(h));
        for (int64_t r = 0; r < h; ++r)
            std::memcpy(scratch.data() + r * row, span.src + r * src.pitch * sbpp, row);
        span.src = scratch.data();
        span.srcPitch = span.width;
    }
    return ClipOutcome::kDraw;
}

bool bltClipped(cImage& dst, const cImage& src, int64_t x, int64_t y, int64_t w, int64_t h,
                int64_t sx, int64_t sy) {
    BlitSpan span;
    std::vector<uint8_t> scratch;
    ClipOutcome outcome = clipBlit(dst, src, x, y, w, h, sx, sy, span, scratch);
    if (outcome == ClipOutcome::kRefused) return false;
    if (outcome == ClipOutcome::kEmpty) return true;
    PlainKernel kernel = plainKernelFor(pixelFormatPairKey(dst.bytesPerPixel, src.bytesPerPixel));
    if (!kernel) return false;
    return kernel(span.dst, span.src, span.dstPitch, span.srcPitch, span.width, span.height);
}

bool bltOpacityClipped(cImage& dst, const cImage& src, int64_t x, int64_t y, int64_t w, int64_t h,
                       int64_t sx, int64_t sy, int opacity) {
    if (opacity < 1) return true;
    if (opacity >= 255) return bltClipped(dst, src, x, y, w, h, sx, sy);
    BlitSpan span;
    std::vector<uint8_t> scratch;
    ClipOutcome outcome = clipBlit(dst, src, x, y, w, h, sx, sy, span, scratch);
    if (outcome == ClipOutcome::kRefused) return false;
    if (outcome == ClipOutcome::kEmpty) return true;
    OpacityKernel kernel =
        opacityKernelFor(pixelFormatPairKey(dst.bytesPerPixel, src.bytesPerPixel));
    if (!kernel) return false;
    return kernel(span.dst, span.src, span.dstPitch, span.srcPitch, span.width, span.height,
                  opacity);
}

namespace {
// Steps 2 to 5 of the fill rule; false when nothing is left to fill.
bool clipFill(const cImage& dst, int64_t& x, int64_t& y, int64_t& w, int64_t& h) {
    if (x < 0) {
        w += x;
        x = 0;
    }
    if (y < 0) {
        h += y;
        y = 0;
    }
    w = std::min(w, static_cast<int64_t>(dst.width) - x);
    h = std::min(h, static_cast<int64_t>(dst.height) - y);
    return w >= 1 && h >= 1;
}
}  // namespace

bool fillClipped(cImage& dst, Rgb rgb, int64_t x, int64_t y, int64_t w, int64_t h) {
    if (!dst.HasPixels()) return false;
    int64_t cx = x, cy = y, cw = w, ch = h;
    if (!clipFill(dst, cx, cy, cw, ch)) return true;
    const uint8_t bgr[3] = {rgb.b, rgb.g, rgb.r};
    uint8_t* first = dst.pixels + (cx + cy * dst.width) * dst.bytesPerPixel;
    return fillKernel(first, dst.bytesPerPixel, dst.width, static_cast<int>(cw),
                      static_cast<int>(ch), bgr);
}

bool fillAlphaClipped(cImage& dst, Rgb rgb, int64_t x, int64_t y, int64_t w, int64_t h,
                      int alpha) {
    if (alpha < 1) return true;
    if (alpha >= 255) return fillClipped(dst, rgb, x, y, w, h);
    if (!dst.HasPixels()) return false;
    int64_t cx = x, cy = y, cw = w, ch = h;
    if (!clipFill(dst, cx, cy, cw, ch)) return true;
    const uint8_t bgr[3] = {rgb.b, rgb.g, rgb.r};
    uint8_t* first = dst.pixels + (cx + cy * dst.width) * dst.bytesPerPixel;
    return fillAlphaKernel(first, dst.bytesPerPixel, dst.width, static_cast<int>(cw),
                           static_cast<int>(ch), bgr, alpha);
}
