#include "app/framePixels.h"

#include <cstring>

bool convertFrameRows(const uint8_t* src, int32_t width, int32_t height, uint8_t* dst,
                      int64_t pitch, uint32_t bitCount) {
    if (!src || !dst || width <= 0 || height <= 0) return false;
    if (bitCount != 16 && bitCount != 24 && bitCount != 32) return false;
    const size_t srcRow = static_cast<size_t>(width) * 3;
    if (pitch < static_cast<int64_t>(static_cast<size_t>(width) * (bitCount / 8))) return false;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* s = src + srcRow * static_cast<size_t>(y);
        uint8_t* d = dst + static_cast<size_t>(pitch) * static_cast<size_t>(y);
        switch (bitCount) {
        case 16:
            for (int32_t x = 0; x < width; ++x, s += 3, d += 2) {
                uint16_t p = rgbTo565(s[2], s[1], s[0]);
                d[0] = static_cast<uint8_t>(p);
                d[1] = static_cast<uint8_t>(p >> 8);
            }
            break;
        case 24:
            std::memcpy(d, s, srcRow);
            break;
        default:
            for (int32_t x = 0; x < width; ++x, s += 3, d += 4) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
                d[3] = 0;
            }
            break;
        }
    }
    return true;
}
