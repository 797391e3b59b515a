// Test images for the button tables: strips whose frames have colours of their own, held by name
// in a fake folder "img" that the tables load from, and a cursor that the tables' navigation moves
// (the next poll would read it back: here it goes straight into gMousePos).
#pragma once
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/input.h"
#include "graphics/image.h"
#include "graphics/screen.h"
#include "presentation/spots.h"

namespace spotTest {
struct Bgr {
    uint8_t b, g, r;
    bool operator==(const Bgr& o) const { return b == o.b && g == o.g && r == o.r; }
};
// Colour of frame k of every strip.
inline Bgr frameColour(int k) {
    return {static_cast<uint8_t>(40 + 50 * k), static_cast<uint8_t>(200 - 40 * k), 7};
}
const Bgr kBackground = {1, 2, 3};
const Bgr kOverlayColour = {250, 250, 250};

// A strip of frames of width x frameHeight, 4 bytes per pixel; alpha(x, y) is asked for each
// pixel of the whole strip (255 when not given).
inline cSprite strip(int width, int frameHeight, int frames,
                     std::function<uint8_t(int, int)> alpha = nullptr) {
    cSprite s;
    const int height = frameHeight * (frames < 1 ? 1 : frames);
    s.Create(4, width, height);
    for (int y = 0; y < height; ++y) {
        const Bgr c = frameColour(frameHeight > 0 ? y / frameHeight : 0);
        for (int x = 0; x < width; ++x) {
            uint8_t* p = s.pixels + (static_cast<size_t>(y) * width + x) * 4;
            p[0] = alpha ? alpha(x, y) : 255;
            p[1] = c.b;
            p[2] = c.g;
            p[3] = c.r;
        }
    }
    return s;
}

inline cSprite plain(int width, int height, Bgr c) {
    cSprite s;
    s.Create(4, width, height);
    for (int i = 0; i < width * height; ++i) {
        uint8_t* p = s.pixels + static_cast<size_t>(i) * 4;
        p[0] = 255;
        p[1] = c.b;
        p[2] = c.g;
        p[3] = c.r;
    }
    return s;
}

// The fake folder "img": names compare exactly.
inline std::map<std::string, cSprite>& images() {
    static std::map<std::string, cSprite> folder;
    return folder;
}
inline std::vector<std::string>& loads() {
    static std::vector<std::string> names;
    return names;
}
inline bool loadImage(cSprite& sprite, const char* name) {
    loads().push_back(name);
    auto it = images().find(name);
    sprite.Release();
    if (it == images().end()) return false;
    sprite = it->second;
    sprite.SetName(name);
    return true;
}

struct Move {
    int32_t x, y;
};
inline std::vector<Move>& moves() {
    static std::vector<Move> list;
    return list;
}
inline void moveCursor(int32_t x, int32_t y) {
    moves().push_back({x, y});
    gMousePos = {x, y};
}

// The left button's press and release as the window procedure hands them to the input layer.
inline void pressLeftButton() { mouseMessageToCommand(0x0201, 0, 0); }
inline void releaseLeftButton() { mouseMessageToCommand(0x0202, 0, 0); }

inline void install() {
    images().clear();
    loads().clear();
    moves().clear();
    setSpotImageLoader(loadImage);
    setSpotCursorMover(moveCursor);
}
inline void uninstall() {
    setSpotImageLoader(nullptr);
    setSpotCursorMover(nullptr);
    images().clear();
}

// A back buffer of the given size filled with the background colour.
inline void makeBackBuffer(int width = 800, int height = 600) {
    gBackBuffer.Create(3, width, height);
    for (int i = 0; i < width * height; ++i) {
        uint8_t* p = gBackBuffer.pixels + static_cast<size_t>(i) * 3;
        p[0] = kBackground.b;
        p[1] = kBackground.g;
        p[2] = kBackground.r;
    }
}
inline Bgr backPixel(int x, int y) {
    const uint8_t* p = gBackBuffer.pixels + (static_cast<size_t>(y) * gBackBuffer.width + x) * 3;
    return {p[0], p[1], p[2]};
}
// The frame whose colour is at (x, y), -1 for the background, -2 for anything else.
inline int frameAt(int x, int y) {
    const Bgr c = backPixel(x, y);
    if (c == kBackground) return -1;
    for (int k = 0; k < 4; ++k)
        if (c == frameColour(k)) return k;
    return -2;
}
}  // namespace spotTest
