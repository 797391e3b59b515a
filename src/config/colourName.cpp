#include "config/colourName.h"

namespace {
struct NamedColour {
    const char* name;
    RgbColour colour;
};

const NamedColour kColours[] = {
    {"WHITE", {255, 255, 255}}, {"RED", {255, 0, 0}},        {"BLUE", {192, 192, 255}},
    {"PURPLE", {255, 160, 190}}, {"ORANGE", {255, 160, 0}},   {"YELLOW", {255, 255, 0}},
    {"PINK", {255, 100, 180}},  {"SKYBLUE", {142, 208, 255}}, {"GREEN", {168, 230, 160}},
    {"BROWN", {180, 130, 10}},  {"GRAY", {170, 170, 170}},    {"BLACK", {0, 0, 0}},
};

// ASCII letters only, so no byte of a double-byte character is folded.
char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameName(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (upper(*a) != upper(*b)) return false;
    return *a == *b;
}
}  // namespace

bool lookupColourName(const char* name, RgbColour& out) {
    if (!name) return false;
    for (const NamedColour& c : kColours) {
        if (sameName(name, c.name)) {
            out = c.colour;
            return true;
        }
    }
    return false;
}
