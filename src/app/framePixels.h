// Pixel work of the full-screen present: the 24-bit back buffer converted to the depth of the
// display mode.
#pragma once
#include <cstddef>
#include <cstdint>

// Red, green, blue to a 16-bit 565 pixel.
inline uint16_t rgbTo565(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<uint16_t>(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
}

// Converts height rows of width blue-green-red pixels (packed rows of width x 3 bytes) into rows
// of dst, pitch bytes apart, at 16 (565), 24 or 32 (a fourth byte 0) bits per pixel. False, with
// nothing written, for any other bit count, bad sizes or a pitch shorter than a row.
bool convertFrameRows(const uint8_t* src, int32_t width, int32_t height, uint8_t* dst,
                      int64_t pitch, uint32_t bitCount);
