// The colour names that picture definitions and script commands may use instead of an image.
#pragma once
#include <cstdint>

struct RgbColour {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// The colour of a name of the table ("WHITE", "RED", ... "BLACK"), compared without regard to
// ASCII letter case; false (out untouched) for any other name or a null one.
bool lookupColourName(const char* name, RgbColour& out);
