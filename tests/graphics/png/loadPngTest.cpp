// Sprites and wipe rules loaded from PNG data files (named by absolute paths, which bypass the
// archives), and the windowed presentation of a canvas into a memory device context.
#include <cstdio>
#include <cstring>
#include <string>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "config/systemInfo.h"
#include "graphics/image.h"
#include "graphics/screen.h"
#include "pngBuilder.h"
#include "screenSizeGuard.h"
#include "testing.h"

namespace {

// A file in the test's working folder, named by its full path as the program sees it.
struct TempFile {
    std::string name;
    TempFile(const char* file, const Bytes& data) {
        char cwd[MAX_PATH] = "";
        DWORD n = GetCurrentDirectoryA(sizeof cwd, cwd);
        if (n == 0 || n >= sizeof cwd) cwd[0] = 0;
        name = std::string(cwd) + "\\" + file;
        FILE* f = std::fopen(name.c_str(), "wb");
        if (f) {
            std::fwrite(data.data(), 1, data.size(), f);
            std::fclose(f);
        }
    }
    ~TempFile() { std::remove(name.c_str()); }
};

Bytes makePng(int w, int h, int colourType, const Bytes& raw, int bpp) {
    PngParts p;
    p.header = ihdr(w, h, colourType);
    p.stream = zlibCompress(filterRows(raw, w, h, bpp, {0}));
    return buildPng(p);
}

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return s;
}
}  // namespace

TEST(LoadPng, LoadsAndRemembersTheNameItHolds) {
    Bytes raw = {10, 20, 30, 40, 50, 60};
    TempFile a("loadpng_a.png", makePng(2, 1, 2, raw, 3));
    cSprite s;
    ASSERT_TRUE(s.LoadPng(a.name.c_str()));
    EXPECT_EQ(3, s.bytesPerPixel);
    EXPECT_EQ(30, s.pixels[0]);  // blue first
    EXPECT_EQ(10, s.pixels[2]);
    EXPECT_STREQ(a.name.c_str(), s.Name().c_str());
    // The same name in other letter case returns at once, even with the file gone.
    std::remove(a.name.c_str());
    s.pixels[0] = 99;
    EXPECT_TRUE(s.LoadPng(upper(a.name).c_str()));
    EXPECT_EQ(99, s.pixels[0]);
    // An empty name changes nothing.
    EXPECT_FALSE(s.LoadPng(""));
    EXPECT_FALSE(s.LoadPng(nullptr));
    EXPECT_TRUE(s.HasPixels());
    // A missing file releases the sprite and keeps the new name.
    TempFile gone("loadpng_missing.png", {});
    std::remove(gone.name.c_str());
    EXPECT_FALSE(s.LoadPng(gone.name.c_str()));
    EXPECT_FALSE(s.HasPixels());
    EXPECT_STREQ(gone.name.c_str(), s.Name().c_str());
}

TEST(LoadPng, PaletteFailsOnceAndIsNotReadAgain) {
    Bytes f = pngSignature();
    putChunk(f, "IHDR", ihdr(3, 2, 3));
    putChunk(f, "PLTE", Bytes(3, 0));
    putChunk(f, "IDAT", zlibCompress(Bytes(8, 0)));
    putChunk(f, "IEND", {});
    TempFile pal("loadpng_palette.png", f);
    cSprite s;
    EXPECT_FALSE(s.LoadPng(pal.name.c_str()));
    EXPECT_FALSE(s.HasPixels());
    EXPECT_EQ(3, s.width);
    EXPECT_TRUE(s.LoadPng(upper(pal.name).c_str()));
    EXPECT_FALSE(s.HasPixels());
    // A corrupt file leaves nothing half drawn.
    PngParts p;
    p.header = ihdr(4, 4, 6);
    p.stream = zlibCompress(Bytes(4 * 17, 1));
    p.stream[0] = 0;
    TempFile bad("loadpng_corrupt.png", buildPng(p));
    EXPECT_FALSE(s.LoadPng(bad.name.c_str()));
    EXPECT_FALSE(s.HasPixels());
}

TEST(MaskLoad, CentresTheRuleInGreyWithABorderOfZero) {
    ScreenSize size(8, 6);
    // A 4 x 2 grey rule: centred at (4, 3), so it covers x 2..5, y 2..3.
    Bytes grey = {10, 20, 30, 40, 50, 60, 70, 80};
    TempFile smallRule("mask_small.png", makePng(4, 2, 0, grey, 1));
    cMask m;
    ASSERT_TRUE(m.Load(smallRule.name.c_str()));
    ASSERT_EQ(1, m.bytesPerPixel);
    ASSERT_EQ(8, m.width);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            int expected = (x >= 2 && x < 6 && y >= 2 && y < 4) ? grey[(y - 2) * 4 + (x - 2)] : 0;
            EXPECT_EQ(expected, m.pixels[y * 8 + x]) << x << "," << y;
        }
    // A larger colour rule is cut at the edges and turned grey: 12 x 10 white is 254 everywhere.
    Bytes white(12 * 10 * 3, 255);
    TempFile big("mask_big.png", makePng(12, 10, 2, white, 3));
    ASSERT_TRUE(m.Load(big.name.c_str()));
    for (int i = 0; i < 48; ++i) EXPECT_EQ(254, m.pixels[i]);
    // A rule that cannot be loaded leaves the mask all 0.
    EXPECT_FALSE(m.Load("Z:\\no\\such\\rule.png"));
    for (int i = 0; i < 48; ++i) EXPECT_EQ(0, m.pixels[i]);
}

TEST(Present, CopiesTheCanvasIntoADeviceContext) {
    for (int width : {8, 7}) {  // 7 x 3 bytes does not end rows on 4-byte boundaries
        ScreenSize size(width, 4);
        cCanvas c;
        ASSERT_TRUE(c.CreateScreen());
        fillScreenBitmapInfo();
        for (uint64_t i = 0; i < c.ByteCount(); ++i) c.pixels[i] = static_cast<uint8_t>(i * 5 + 1);
        EXPECT_FALSE(c.PresentToDC(nullptr));

        HDC dc = CreateCompatibleDC(nullptr);
        ASSERT_NE(nullptr, dc);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -4;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(nullptr, bmp);
        HGDIOBJ old = SelectObject(dc, bmp);
        ASSERT_TRUE(c.PresentToDC(dc));
        GdiFlush();
        const uint8_t* out = static_cast<const uint8_t*>(bits);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < width; ++x)
                for (int k = 0; k < 3; ++k)
                    ASSERT_EQ(c.pixels[(y * width + x) * 3 + k], out[(y * width + x) * 4 + k])
                        << width << ": " << x << "," << y;
        cCanvas none;
        EXPECT_FALSE(none.PresentToDC(dc));
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
}
