// The pictures and definitions the picture-slot targets may name, written once into the data
// folder of the process: PNG files "a.png", "b.png", "c.png", "dot.png", "wide.png" (folder "img")
// and the definition "two.img" (folder "anime").
#pragma once
#include <string>

#include "../graphics/png/pngBuilder.h"
#include "fuzzFiles.h"

// A PNG of one colour ramp: 1 grey, 3 colour, 4 colour with alpha bytes per pixel.
inline void writeFuzzPicture(const std::string& name, int bpp, int w, int h, uint8_t value) {
    static const int kColourType[] = {0, 0, 0, 2, 6};
    Bytes raw;
    for (int i = 0; i < w * h * bpp; ++i) raw.push_back(static_cast<uint8_t>(value + i));
    PngParts parts;
    parts.header = ihdr(static_cast<uint32_t>(w), static_cast<uint32_t>(h), kColourType[bpp]);
    parts.stream = zlibCompress(filterRows(raw, w, h, bpp, {0, 1, 4}));
    const Bytes png = buildPng(parts);
    FuzzFolder::write(FuzzFolder::get().data() + "img/" + name, png.data(), png.size());
}

inline void writeFuzzPictures() {
    static bool written = false;
    if (written) return;
    written = true;
    writeFuzzPicture("a.png", 3, 5, 4, 10);
    writeFuzzPicture("b.png", 4, 7, 3, 200);
    writeFuzzPicture("c.png", 1, 30, 2, 77);
    writeFuzzPicture("dot.png", 3, 1, 1, 250);
    writeFuzzPicture("wide.png", 4, 40, 1, 5);
    const std::string two =
        "Type=back\r\nImg0=a.png\r\nImg1=b.png\r\nMode1=Screen\r\n# 1\r\nType=movie\r\n"
        "Img2=dot.png\r\nx: 3\r\nmove.x: 1000 -20\r\ndraw: 2 x y\r\n";
    FuzzFolder::write(FuzzFolder::get().data() + "anime/two.img", two.data(), two.size());
}
