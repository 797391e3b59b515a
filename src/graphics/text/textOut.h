// The text pen of the game screens: a font, a pen position, a rectangle and a colour; it draws
// single- and double-byte strings into any image through the shared rasteriser (textGlyphs()),
// optionally wrapping at the rectangle's right edge. It does not clip.
#pragma once
#include <cstdint>

#include "graphics/text/glyphSource.h"

class cImage;

class cTextOut {
public:
    cTextOut();
    cTextOut(const cTextOut&) = delete;
    cTextOut& operator=(const cTextOut&) = delete;
    ~cTextOut() = default;

    // A new font of that size (the cell height) and line height size + extra; false for a
    // negative size or spacing, which changes nothing. True also when no font could be made
    // (nothing is drawn then).
    bool SetFont(int32_t size, int32_t extra);
    void NewLine();
    void Home();
    bool PutString(cImage& image, const char* text, bool wrap);
    bool PutChar(cImage& image, const char* character, bool wrap);
    bool PutCode(cImage& image, uint32_t code, bool wrap);

    int32_t x = 0, y = 0;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    uint8_t colour[3] = {255, 255, 255};  // R, G, B
    cFont font;
    int32_t size = 0;
    int32_t lineHeight = 0;
};
