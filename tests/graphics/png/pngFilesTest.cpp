// Real PNG files written by ImageMagick decode to ImageMagick's own pixels (its decode stored
// beside each file as raw RGBA bytes).
#include <cstdio>
#include <string>

#include "graphics/png/pngLoader.h"
#include "pngBuilder.h"
#include "testing.h"

namespace {
Bytes readFile(const std::string& path) {
    Bytes data;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return data;
    uint8_t buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.insert(data.end(), buf, buf + n);
    std::fclose(f);
    return data;
}

// The decoded image as red, green, blue, alpha.
Bytes asRgba(const cSprite& s) {
    Bytes out;
    const int n = s.width * s.height;
    for (int i = 0; i < n; ++i) {
        const uint8_t* p = s.pixels + i * s.bytesPerPixel;
        switch (s.bytesPerPixel) {
            case 1: out.insert(out.end(), {p[0], p[0], p[0], 255}); break;
            case 2: out.insert(out.end(), {p[1], p[1], p[1], p[0]}); break;
            case 3: out.insert(out.end(), {p[2], p[1], p[0], 255}); break;
            case 4: out.insert(out.end(), {p[3], p[2], p[1], p[0]}); break;
        }
    }
    return out;
}
}  // namespace

TEST(PngFiles, DecodeAsImageMagickDoes) {
    struct {
        const char* name;
        int bpp, w, h;
    } files[] = {{"rgb", 3, 61, 37}, {"rgba", 4, 45, 33}, {"grey", 1, 50, 20}, {"greyalpha", 2, 23, 41}};
    for (auto& f : files) {
        const std::string base = std::string(PNG_FIXTURE_DIR) + "/" + f.name;
        Bytes png = readFile(base + ".png");
        Bytes expected = readFile(base + ".rgba");
        ASSERT_FALSE(png.empty()) << base;
        ASSERT_EQ(size_t(f.w) * f.h * 4, expected.size()) << base;
        cPngMemorySource source(png.data(), png.size());
        cPngLoader loader;
        cSprite image;
        ASSERT_TRUE(loader.LoadFrom(source, image)) << f.name;
        EXPECT_EQ(f.bpp, image.bytesPerPixel);
        EXPECT_EQ(f.w, image.width);
        EXPECT_EQ(f.h, image.height);
        EXPECT_EQ(expected, asRgba(image)) << f.name;
    }
}
