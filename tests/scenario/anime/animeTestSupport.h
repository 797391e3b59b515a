// Helpers of the picture-slot tests: hand-built pictures, a data folder of definitions and PNG
// files, a test clock, and small screen canvases.
#pragma once
#include <cstring>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/moduleState.h"
#include "config/systemInfo.h"
#include "files/textBuf.h"
#include "graphics/blit.h"
#include "graphics/graphics.h"
#include "graphics/image.h"
#include "graphics/screen.h"
#include "files/apiFile.h"
#include "files/archiveIndex.h"
#include "../../graphics/png/pngBuilder.h"

// A sprite of one colour: bpp 3 (b, g, r), 4 (a, b, g, r) or 1 (grey = b).
inline void fillSprite(cSprite& s, int bpp, int w, int h, uint8_t b, uint8_t g = 0, uint8_t r = 0,
                       uint8_t a = 255) {
    s.Create(static_cast<uint8_t>(bpp), w, h);
    for (int i = 0; i < w * h; ++i) {
        uint8_t* p = s.pixels + i * bpp;
        if (bpp == 1) {
            p[0] = b;
        } else if (bpp == 3) {
            p[0] = b, p[1] = g, p[2] = r;
        } else {
            p[0] = a, p[1] = b, p[2] = g, p[3] = r;
        }
    }
}

// The data folder of the slot tests, in the working folder (one per configuration: both test
// programs of the native build may run at once). Tests write the definitions and pictures they
// load; a name no test writes is missing.
#ifdef MORVANE_EARLIER
#define ANIME_DATA_FOLDER "anime-data-earlier\\"
#else
#define ANIME_DATA_FOLDER "anime-data\\"
#endif

struct AnimeDataFolder {
    AnimeDataFolder() {
        createFolder(ANIME_DATA_FOLDER);
        createFolder(ANIME_DATA_FOLDER "anime\\");
        createFolder(ANIME_DATA_FOLDER "img\\");
        setDataFolder(ANIME_DATA_FOLDER);
    }
    // path: "anime\\name" or "img\\name".
    static bool write(const std::string& path, const std::vector<uint8_t>& bytes) {
        cAPI_File file;
        return file.Create((ANIME_DATA_FOLDER + path).c_str()) &&
               (bytes.empty() || file.Write(bytes.data(), bytes.size())) && file.Close();
    }
    static bool definition(const std::string& name, const std::string& text) {
        return write("anime\\" + name, std::vector<uint8_t>(text.begin(), text.end()));
    }
    // A PNG of one colour: bpp 1 grey (b), 2 grey (b) with alpha, 3 colour, 4 colour with alpha.
    static bool picture(const std::string& name, int bpp, int w, int h, uint8_t b, uint8_t g = 0,
                        uint8_t r = 0, uint8_t a = 255) {
        static const int kColourType[] = {0, 0, 4, 2, 6};
        Bytes raw;
        for (int i = 0; i < w * h; ++i) {
            if (bpp == 1) raw.push_back(b);
            if (bpp == 2) raw.insert(raw.end(), {b, a});
            if (bpp == 3) raw.insert(raw.end(), {r, g, b});
            if (bpp == 4) raw.insert(raw.end(), {r, g, b, a});
        }
        PngParts parts;
        parts.header = ihdr(w, h, kColourType[bpp]);
        parts.stream = zlibCompress(filterRows(raw, w, h, bpp, {0}));
        return write("img\\" + name, buildPng(parts));
    }
};

// The engine reset, keeping the screen size the test chose.
inline void resetKeepingScreen() {
    const int w = gScreenWidth, h = gScreenHeight;
    resetEngineState();
    gScreenWidth = w;
    gScreenHeight = h;
}

// The test clock.
struct TestClock {
    static uint32_t& now() {
        static uint32_t value = 0;
        return value;
    }
    static uint32_t read() { return now(); }
    explicit TestClock(uint32_t start) {
        now() = start;
        setClockSource(read);
    }
    ~TestClock() { setClockSource(nullptr); }
};

// The three screen canvases at the current screen size, black, released at the end.
struct ScreenCanvases {
    ScreenCanvases() { createScreenCanvases(); }
    ~ScreenCanvases() {
        gBackBuffer.Release();
        gNextScreen.Release();
        gPrevScreen.Release();
    }
};

// Pixel (x, y) of a 3-byte canvas as blue, green, red.
struct Bgr {
    int b, g, r;
    bool operator==(const Bgr& o) const { return b == o.b && g == o.g && r == o.r; }
};
inline Bgr pixelAt(const cImage& c, int x, int y) {
    const uint8_t* p = c.pixels + (static_cast<size_t>(y) * c.pitch + x) * 3;
    return {p[0], p[1], p[2]};
}
inline std::ostream& operator<<(std::ostream& o, const Bgr& p) {
    return o << "(" << p.b << "," << p.g << "," << p.r << ")";
}
