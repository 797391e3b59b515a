// Windowed presentation of a 24-bit canvas.
#include <algorithm>
#include <cstring>
#include <vector>

#include <windows.h>

#include "config/systemInfo.h"
#include "graphics/image.h"
#include "graphics/screen.h"

static_assert(sizeof(BITMAPINFOHEADER) == 40, "bitmap info header layout");

bool cCanvas::PresentToDC(HDC__* deviceContext) const {
    if (!deviceContext || !HasPixels() || bytesPerPixel != 3) return false;
    // Never more than the canvas holds.
    const int w = (std::min)(gScreenWidth, width);
    const int h = (std::min)(gScreenHeight, height);
    if (w <= 0 || h <= 0) return false;
    ScreenBitmapInfo info = gScreenBitmapInfo;
    info.headerSize = 40;
    info.planes = 1;
    info.bitCount = 24;
    info.compression = BI_RGB;
    info.width = pitch;
    info.height = -h;
    const size_t row = static_cast<size_t>(pitch) * 3;
    const uint8_t* bits = pixels;
    std::vector<uint8_t> padded;
    if (row % 4 != 0) {
        // The platform reads rows on 4-byte boundaries: hand it a padded copy.
        const size_t stride = (row + 3) & ~size_t(3);
        padded.assign(stride * static_cast<size_t>(h), 0);
        for (int y = 0; y < h; ++y)
            std::memcpy(padded.data() + stride * y, pixels + row * y, row);
        bits = padded.data();
    }
    int lines = SetDIBitsToDevice(deviceContext, 0, 0, w, h, 0, 0, 0, h, bits,
                                  reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS);
    return lines != 0;
}
