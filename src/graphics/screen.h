// The three screen canvases and the bitmap description used to present them.
#pragma once
#include <cstdint>

#include "graphics/image.h"

// The frame that is presented, the composed scene, and the old picture during transitions.
extern cCanvas gBackBuffer;
extern cCanvas gNextScreen;
extern cCanvas gPrevScreen;

// The 44-byte bitmap description of a screen canvas: a 40-byte bitmap info header (the platform's
// BITMAPINFOHEADER layout) followed by one zero colour entry.
struct ScreenBitmapInfo {
    uint32_t headerSize;
    int32_t width;
    int32_t height;  // negative: rows top-down
    uint16_t planes;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t sizeImage;
    int32_t xPelsPerMeter;
    int32_t yPelsPerMeter;
    uint32_t colourUsed;
    uint32_t colourImportant;
    uint8_t colours[4];
};
static_assert(sizeof(ScreenBitmapInfo) == 44, "bitmap description layout");

extern ScreenBitmapInfo gScreenBitmapInfo;

// Fills gScreenBitmapInfo for the screen size: 24 bits, top-down rows, no compression.
void fillScreenBitmapInfo();

// Gives the canvases their pixels at the screen size, 3 bytes per pixel (gBackBuffer, gNextScreen,
// gPrevScreen; the first failure leaves the rest uncreated), then fills gScreenBitmapInfo.
bool createScreenCanvases();
