// Integer pixel arithmetic shared by every kernel: rounded division by 255, laying a value over
// another with a weight, the union of two alphas and the grey of a colour.
#pragma once
#include <cstdint>

// Rounded division by 255: (t + 128 + ((t + 128) >> 8)) >> 8, both shifts arithmetic (floor), also
// for negative t.
inline int div255(int t) {
    t += 128;
    return (t + (t >> 8)) >> 8;
}

// d laid over by s with weight w (0..255): d + div255((s - d) * w), as a byte.
inline uint8_t alphaOver(int d, int s, int w) {
    return static_cast<uint8_t>(d + div255((s - d) * w));
}

// Alpha of a layer of alpha a laid over alpha d.
inline uint8_t alphaUnion(int d, int a) {
    return static_cast<uint8_t>(d + a - div255(d * a));
}

// Grey of a colour given as red, green, blue (white gives 254).
inline uint8_t greyOf(int r, int g, int b) {
    return static_cast<uint8_t>((76 * r + 150 * g + 29 * b) >> 8);
}

// Key of a pair of pixel formats: destination bytes per pixel << 4 | source bytes per pixel.
inline int pixelFormatPairKey(int dstBytesPerPixel, int srcBytesPerPixel) {
    return (dstBytesPerPixel << 4) | srcBytesPerPixel;
}
