// The PNG decoder over fixtures built here: every filter and colour type, split image data, and
// hostile files (bad sizes and lengths, truncated or corrupt data) that must fail quietly or give a
// zero-filled image, never crash or hang.
#include <cstdint>
#include <cstring>
#include <random>

#include "graphics/png/pngLoader.h"
#include "pngBuilder.h"
#include "testing.h"

namespace {

int bppOf(int colourType) {
    switch (colourType) {
        case 0: return 1;
        case 2: return 3;
        case 4: return 2;
        case 6: return 4;
    }
    return 0;
}

// Raw PNG-order pixels into this program's order.
Bytes toImageOrder(const Bytes& raw, int bpp) {
    Bytes out(raw.size());
    for (size_t i = 0; i < raw.size(); i += bpp) {
        for (int k = 0; k < bpp; ++k) {
            int from = k;
            if (bpp == 2) from = 1 - k;
            if (bpp == 3) from = 2 - k;
            if (bpp == 4) from = 3 - k;
            out[i + k] = raw[i + from];
        }
    }
    return out;
}

Bytes randomBytes(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto& v : b) v = static_cast<uint8_t>(rng());
    return b;
}

bool decode(const Bytes& file, cSprite& image) {
    cPngMemorySource source(file.data(), file.size());
    cPngLoader loader;
    return loader.LoadFrom(source, image);
}

Bytes pixelsOf(const cSprite& s) { return Bytes(s.pixels, s.pixels + s.ByteCount()); }

PngParts partsFor(int w, int h, int colourType, const Bytes& raw, const std::vector<int>& filters,
                  bool stored = false) {
    PngParts p;
    p.header = ihdr(w, h, colourType);
    Bytes scan = filterRows(raw, w, h, bppOf(colourType), filters);
    p.stream = stored ? zlibStored(scan) : zlibCompress(scan);
    return p;
}

}  // namespace

TEST(PngUnfilter, HandWorkedRows) {
    struct Case {
        const char* what;
        int filter, bpp;
        Bytes prev, cur, expected;
    } cases[] = {
        {"sub wraps modulo 256", 1, 1, {0, 0, 0}, {10, 20, 250}, {10, 30, 24}},
        {"sub steps by the pixel size", 1, 3, {0, 0, 0, 0, 0, 0}, {1, 2, 3, 4, 5, 6}, {1, 2, 3, 5, 7, 9}},
        {"up", 2, 1, {1, 2, 3}, {255, 1, 1}, {0, 3, 4}},
        // (105 + 200) >> 1 = 152: the sum needs 9 bits (8 bits would give 24).
        {"average with a 9-bit sum", 3, 1, {200, 200, 10}, {5, 0, 0}, {105, 152, 81}},
        // a = 60, up = 30, c = 50: pa 20, pb 10, pc 10: the tie pb = pc goes to up: 5 + 30.
        {"paeth tie of pb and pc goes to up", 4, 1, {50, 30}, {10, 5}, {60, 35}},
        // a = 30, up = 60, c = 50: pa 10, pb 20, pc 10: the tie pa = pc goes to a: 7 + 30.
        {"paeth tie of pa and pc goes to a", 4, 1, {50, 60}, {236, 7}, {30, 37}},
        // a = up = c = 50: all 0, goes to a.
        {"paeth all equal", 4, 1, {50, 50}, {0, 3}, {50, 53}},
        // First pixel: x += up. Second: a = 10, up = 0, c = 9: pa 9, pb 1, pc 8: up (0).
        {"paeth first pixel adds up", 4, 2, {9, 8, 0, 0}, {1, 1, 0, 0}, {10, 9, 0, 0}},
        {"unknown filter leaves the row", 5, 1, {9, 9}, {1, 2}, {1, 2}},
        {"filter 0", 0, 1, {9, 9}, {1, 2}, {1, 2}},
        {"pixel size above 4", 1, 5, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
    };
    for (auto& c : cases) {
        Bytes cur = c.cur;
        pngUnfilterRow(c.filter, c.prev.data(), cur.data(), static_cast<int>(cur.size()) / c.bpp,
                       c.bpp);
        EXPECT_EQ(c.expected, cur) << c.what;
    }
    Bytes row = {1, 2};
    pngUnfilterRow(1, nullptr, row.data(), 2, 1);
    pngUnfilterRow(1, row.data(), nullptr, 2, 1);
    pngUnfilterRow(1, row.data(), row.data(), 0, 1);
    EXPECT_EQ((Bytes{1, 2}), row);
}

TEST(PngDecode, EveryFilterAndColourType) {
    for (int type : {0, 2, 4, 6}) {
        const int bpp = bppOf(type), w = 7, h = 11;
        Bytes raw = randomBytes(size_t(w) * h * bpp, 100 + type);
        // Flat and steep runs so Average and Paeth meet large sums and ties.
        for (size_t i = 0; i < size_t(w) * bpp * 2; ++i) raw[i] = 250;
        for (bool stored : {false, true}) {
            PngParts p = partsFor(w, h, type, raw, {0, 1, 2, 3, 4, 4, 3, 2, 1, 0, 3}, stored);
            cSprite image;
            ASSERT_TRUE(decode(buildPng(p), image)) << type;
            EXPECT_EQ(bpp, image.bytesPerPixel);
            EXPECT_EQ(w, image.width);
            EXPECT_EQ(h, image.height);
            EXPECT_EQ(toImageOrder(raw, bpp), pixelsOf(image)) << "colour type " << type;
        }
    }
}

TEST(PngDecode, ImageDataSplitAnywhereDecodesTheSame) {
    const int w = 13, h = 9;
    Bytes raw = randomBytes(size_t(w) * h * 4, 5);
    for (bool stored : {false, true}) {
        PngParts p = partsFor(w, h, 6, raw, {4, 1, 3, 2, 0}, stored);
        cSprite whole;
        ASSERT_TRUE(decode(buildPng(p), whole));
        for (size_t size : {size_t(1), size_t(2), size_t(7), size_t(64)}) {
            p.idatSize = size;
            p.chunksBetween = true;
            cSprite split;
            ASSERT_TRUE(decode(buildPng(p), split)) << size;
            EXPECT_EQ(pixelsOf(whole), pixelsOf(split)) << size;
        }
    }
}

TEST(PngDecode, CrcIsNotCheckedAndTrailingDataIsIgnored) {
    const int w = 5, h = 4;
    Bytes raw = randomBytes(size_t(w) * h * 3, 8);
    PngParts p = partsFor(w, h, 2, raw, {1});
    Bytes file = buildPng(p);
    // The IDAT CRC sits 12 bytes before the end (before IEND's 12 bytes).
    file[file.size() - 13] ^= 0xFF;
    file.insert(file.end(), {1, 2, 3, 4, 5});
    cSprite image;
    ASSERT_TRUE(decode(file, image));
    EXPECT_EQ(toImageOrder(raw, 3), pixelsOf(image));
    // Bytes after the zlib stream inside the image data, and a further IDAT after it.
    p.stream.insert(p.stream.end(), 20, 0xEE);
    p.idatSize = p.stream.size() - 10;
    cSprite again;
    ASSERT_TRUE(decode(buildPng(p), again));
    EXPECT_EQ(toImageOrder(raw, 3), pixelsOf(again));
}

TEST(PngDecode, RejectedHeadersLeaveTheImageEmpty) {
    struct Case {
        const char* what;
        Bytes file;
    };
    Bytes good = buildPng(partsFor(2, 2, 2, randomBytes(12, 1), {0}));
    auto withHeader = [](const Bytes& h) {
        Bytes f = pngSignature();
        putChunk(f, "IHDR", h);
        putChunk(f, "IDAT", zlibCompress(Bytes(100, 0)));
        putChunk(f, "IEND", {});
        return f;
    };
    Bytes badSig = good;
    badSig[1] = 'Q';
    Bytes notFirst = pngSignature();
    putChunk(notFirst, "tEXt", {1});
    putChunk(notFirst, "IHDR", ihdr(2, 2, 2));
    Bytes shortHeader = ihdr(2, 2, 2);
    shortHeader.pop_back();
    Bytes longHeader = ihdr(2, 2, 2);
    longHeader.push_back(0);
    Bytes hugeLength = pngSignature();
    putU32(hugeLength, 0x80000000u);
    hugeLength.insert(hugeLength.end(), {'I', 'H', 'D', 'R'});
    Bytes pastEnd = pngSignature();
    putU32(pastEnd, 13);
    hugeLength.insert(hugeLength.end(), {'I', 'H', 'D', 'R', 0, 0, 0});
    const Case cases[] = {
        {"empty", {}},
        {"fewer than 8 bytes", Bytes(good.begin(), good.begin() + 7)},
        {"signature only", pngSignature()},
        {"wrong signature", badSig},
        {"IHDR not first", notFirst},
        {"IHDR length 12", withHeader(shortHeader)},
        {"IHDR length 14", withHeader(longHeader)},
        {"depth 16", withHeader(ihdr(2, 2, 2, 16))},
        {"depth 4", withHeader(ihdr(2, 2, 0, 4))},
        {"compression 1", withHeader(ihdr(2, 2, 2, 8, 1))},
        {"filter method 1", withHeader(ihdr(2, 2, 2, 8, 0, 1))},
        {"interlaced", withHeader(ihdr(2, 2, 2, 8, 0, 0, 1))},
        {"width 0", withHeader(ihdr(0, 2, 2))},
        {"height 0", withHeader(ihdr(2, 0, 2))},
        {"width 2^31", withHeader(ihdr(0x80000000u, 1, 0))},
        {"height 2^31", withHeader(ihdr(1, 0x80000000u, 0))},
        {"width 2^32 - 1", withHeader(ihdr(0xFFFFFFFFu, 1, 6))},
        {"byte count above the limit", withHeader(ihdr(70000, 70000, 6))},
        {"byte count overflowing 32 bits", withHeader(ihdr(0x10000, 0x10000, 4))},
        {"chunk length above 2^31 - 1", hugeLength},
        {"chunk longer than the file", pastEnd},
    };
    for (const Case& c : cases) {
        cSprite image;
        image.SetName("held.png");
        EXPECT_FALSE(decode(c.file, image)) << c.what;
        EXPECT_FALSE(image.HasPixels()) << c.what;
        EXPECT_EQ(0, image.width) << c.what;
        EXPECT_STREQ("held.png", image.Name().c_str()) << c.what;
    }
}

TEST(PngDecode, PaletteAndUnknownColourTypesMakeNoImage) {
    for (int type : {3, 1, 5, 7}) {
        Bytes f = pngSignature();
        putChunk(f, "IHDR", ihdr(4, 3, type));
        putChunk(f, "PLTE", Bytes(6, 0));
        putChunk(f, "IDAT", zlibCompress(Bytes(15, 0)));
        putChunk(f, "IEND", {});
        cSprite image;
        EXPECT_FALSE(decode(f, image)) << type;
        EXPECT_FALSE(image.HasPixels());
        EXPECT_EQ(4, image.width);  // the sizes stay set, without pixels
        EXPECT_EQ(3, image.height);
    }
}

TEST(PngDecode, ImageDataEndingEarlyLeavesTheMissingRowsZero) {
    const int w = 6, h = 8, bpp = 3;
    Bytes raw = randomBytes(size_t(w) * h * bpp, 21);
    for (auto& v : raw) v |= 1;  // no zero bytes, so zero rows are visibly missing
    const Bytes expected = toImageOrder(raw, bpp);
    const size_t row = size_t(w) * bpp;
    auto checkRows = [&](const cSprite& image, int complete, const char* what) {
        ASSERT_TRUE(image.HasPixels()) << what;
        Bytes got = pixelsOf(image);
        for (int y = 0; y < h; ++y) {
            Bytes line(got.begin() + y * row, got.begin() + (y + 1) * row);
            if (y < complete)
                EXPECT_EQ(Bytes(expected.begin() + y * row, expected.begin() + (y + 1) * row), line)
                    << what << " row " << y;
            else
                EXPECT_EQ(Bytes(row, 0), line) << what << " row " << y;
        }
    };
    Bytes scan = filterRows(raw, w, h, bpp, {0});
    {
        // A stored stream cut in the middle of row 5 (each scanline is row + 1 bytes after the
        // 2-byte zlib header and the 5-byte block header).
        PngParts p;
        p.header = ihdr(w, h, 2);
        p.stream = zlibStored(scan);
        p.stream.resize(2 + 5 + 5 * (row + 1) + 4);
        p.idatSize = 10;
        cSprite image;
        ASSERT_TRUE(decode(buildPng(p), image));
        checkRows(image, 5, "truncated stored stream");
        p.withEnd = false;
        cSprite noEnd;
        ASSERT_TRUE(decode(buildPng(p), noEnd));
        checkRows(noEnd, 5, "truncated without IEND");
    }
    {
        // A complete zlib stream holding only three rows: decoding stops at its end.
        PngParts p;
        p.header = ihdr(w, h, 2);
        p.stream = zlibCompress(Bytes(scan.begin(), scan.begin() + 3 * (row + 1)));
        p.stream.insert(p.stream.end(), 50, 0x55);  // junk after the stream is never inflated
        p.idatSize = 3;
        cSprite image;
        ASSERT_TRUE(decode(buildPng(p), image));
        checkRows(image, 3, "stream ends early");
        // Ending in the middle of a row.
        p.stream = zlibCompress(Bytes(scan.begin(), scan.begin() + 3 * (row + 1) + 4));
        cSprite mid;
        ASSERT_TRUE(decode(buildPng(p), mid));
        checkRows(mid, 3, "stream ends inside a row");
    }
    {
        // No image data at all, and an IDAT chunk whose length runs past the end of the file.
        Bytes f = pngSignature();
        putChunk(f, "IHDR", ihdr(w, h, 2));
        putChunk(f, "IEND", {});
        cSprite image;
        ASSERT_TRUE(decode(f, image));
        checkRows(image, 0, "no IDAT");
        Bytes g = pngSignature();
        putChunk(g, "IHDR", ihdr(w, h, 2));
        putU32(g, 1000);
        g.insert(g.end(), {'I', 'D', 'A', 'T', 1, 2, 3});
        cSprite past;
        ASSERT_TRUE(decode(g, past));
        checkRows(past, 0, "IDAT past the end");
    }
}

TEST(PngDecode, CorruptImageDataReleasesTheImage) {
    const int w = 6, h = 8;
    Bytes raw = randomBytes(size_t(w) * h * 4, 3);
    PngParts p = partsFor(w, h, 6, raw, {1});
    p.stream[0] = 0x12;  // not a zlib header
    cSprite image;
    image.SetName("x.png");
    EXPECT_FALSE(decode(buildPng(p), image));
    EXPECT_FALSE(image.HasPixels());
    EXPECT_STREQ("x.png", image.Name().c_str());
    // Damage after a few good rows: also released, never half drawn.
    Bytes scan = filterRows(raw, w, h, 4, {1});
    p.stream = zlibStored(scan, 3 * (w * 4 + 1));
    p.stream[2 + 3 * (w * 4 + 1) + 5 + 1] ^= 0xFF;  // the second block's LEN: fails its NLEN check
    cSprite broken;
    EXPECT_FALSE(decode(buildPng(p), broken));
    EXPECT_FALSE(broken.HasPixels());
}

TEST(PngDecode, MutatedAndTruncatedFilesNeverCrash) {
    std::mt19937 rng(2024);
    for (int type : {0, 2, 4, 6}) {
        const int w = 17, h = 13;
        Bytes raw = randomBytes(size_t(w) * h * bppOf(type), type);
        PngParts p = partsFor(w, h, type, raw, {0, 1, 2, 3, 4});
        p.idatSize = 40;
        p.chunksBetween = true;
        const Bytes good = buildPng(p);
        for (int i = 0; i < 1500; ++i) {
            Bytes f = good;
            int edits = 1 + rng() % 6;
            for (int e = 0; e < edits; ++e) f[rng() % f.size()] = static_cast<uint8_t>(rng());
            if (i % 3 == 0) f.resize(rng() % f.size());
            cSprite image;
            bool ok = decode(f, image);
            if (ok) {
                ASSERT_TRUE(image.HasPixels());
                ASSERT_GT(image.width, 0);
            }
        }
    }
}
