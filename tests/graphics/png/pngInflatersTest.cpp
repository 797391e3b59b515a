// The two ways the image data is inflated (in one call, or by zlib chunk by chunk) give the same
// result for every file: good ones, ones whose stream ends early, and hostile ones where the
// one-call inflater gives up and zlib decides (truncated, over-long, damaged streams).
#include <cstdint>
#include <random>

#include "graphics/png/pngLoader.h"
#include "pngBuilder.h"
#include "testing.h"

namespace {

struct Result {
    bool ok = false;
    bool whole = false;  // inflated in one call
    int bpp = 0, width = 0, height = 0;
    Bytes pixels;
};

Result decodeWith(const Bytes& file, bool zlibOnly) {
    cPngMemorySource source(file.data(), file.size());
    cPngLoader loader;
    loader.SetZlibOnly(zlibOnly);
    cSprite image;
    Result r;
    r.ok = loader.LoadFrom(source, image);
    r.whole = loader.InflatedWhole();
    r.bpp = image.bytesPerPixel;
    r.width = image.width;
    r.height = image.height;
    if (image.HasPixels()) r.pixels.assign(image.pixels, image.pixels + image.ByteCount());
    return r;
}

// Decodes both ways, checks they agree and that the zlib-only load never took the other way;
// returns the default load's result.
Result decodeBoth(const Bytes& file, const char* what) {
    Result fast = decodeWith(file, false);
    Result zlib = decodeWith(file, true);
    EXPECT_FALSE(zlib.whole) << what;
    EXPECT_EQ(zlib.ok, fast.ok) << what;
    EXPECT_EQ(zlib.bpp, fast.bpp) << what;
    EXPECT_EQ(zlib.width, fast.width) << what;
    EXPECT_EQ(zlib.height, fast.height) << what;
    EXPECT_TRUE(zlib.pixels == fast.pixels) << what;
    return fast;
}

int bppOf(int colourType) {
    return colourType == 0 ? 1 : colourType == 2 ? 3 : colourType == 4 ? 2 : 4;
}

Bytes randomBytes(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto& v : b) v = static_cast<uint8_t>(rng());
    return b;
}

// Scanlines of a random image, every filter used.
Bytes scanlines(int w, int h, int colourType, uint32_t seed) {
    return filterRows(randomBytes(size_t(w) * h * bppOf(colourType), seed), w, h,
                      bppOf(colourType), {0, 1, 2, 3, 4, 3, 1});
}

PngParts parts(int w, int h, int colourType, const Bytes& stream, size_t idatSize = 0) {
    PngParts p;
    p.header = ihdr(w, h, colourType);
    p.stream = stream;
    p.idatSize = idatSize;
    return p;
}

// A stream's Adler-32 (its last four bytes) made wrong.
Bytes badChecksum(Bytes stream) {
    stream.back() ^= 0x5A;
    return stream;
}

}  // namespace

TEST(PngInflaters, GoodFilesTakeTheOneCallWayAndMatchZlib) {
    for (int type : {0, 2, 4, 6}) {
        for (bool stored : {false, true}) {
            for (size_t idat : {size_t(0), size_t(1), size_t(7), size_t(8192)}) {
                const int w = 37, h = 23;
                Bytes scan = scanlines(w, h, type, 40 + type);
                const Bytes stream = stored ? zlibStored(scan, 500) : zlibCompress(scan);
                PngParts p = parts(w, h, type, stream, idat);
                p.chunksBetween = idat == 7;
                SCOPED_TRACE(testing::Message()
                             << "type " << type << " stored " << stored << " idat " << idat);
                Result r = decodeBoth(buildPng(p), "good file");
                EXPECT_TRUE(r.ok);
                EXPECT_TRUE(r.whole);
            }
        }
    }
}

TEST(PngInflaters, HostileStreamsFallBackToZlibWithItsResults) {
    const int w = 9, h = 12, type = 2;
    const size_t line = size_t(w) * 3 + 1;
    const Bytes scan = scanlines(w, h, type, 77);
    const Bytes good = zlibCompress(scan);
    Bytes truncated(good.begin(), good.begin() + good.size() / 2);
    Bytes storedCut = zlibStored(scan);
    storedCut.resize(2 + 5 + 7 * line + 3);  // seven whole rows and a few bytes
    Bytes extraRows = scan;
    extraRows.insert(extraRows.end(), scan.begin(), scan.begin() + 2 * line);
    Bytes badHeader = good;
    badHeader[0] = 0x12;
    Bytes damaged = zlibStored(scan, 2 * line);
    damaged[2 + 5 + 2 * line + 1] ^= 0xFF;  // the second block's length no longer matches its check
    // A stream whose data is complete but whose checksum is wrong: zlib never reads the checksum
    // when it sits in a later chunk than the last row's data, and fails on it when it sits in the
    // same chunk (it reads on while input is there).
    const Bytes wrongSum = badChecksum(zlibStored(scan));
    PngParts sumApart = parts(w, h, type, wrongSum, wrongSum.size() - 4);
    PngParts sumTogether = parts(w, h, type, wrongSum);
    // After the last row, a second stream-like block that is not valid deflate.
    Bytes junkBlock = zlibStored(scan);
    junkBlock[2] = 0;  // the first (only) block is no longer the last one
    junkBlock.insert(junkBlock.end() - 4, {0x07, 0xFF});  // block type 3: invalid
    PngParts junkApart = parts(w, h, type, junkBlock, junkBlock.size() - 6);
    PngParts junkTogether = parts(w, h, type, junkBlock);
    Bytes noIdat = pngSignature();
    putChunk(noIdat, "IHDR", ihdr(w, h, type));
    putChunk(noIdat, "IEND", {});

    struct Case {
        const char* what;
        Bytes file;
        bool ok;
        int rows;  // leading rows that are not all 0 (-1: not checked)
    } cases[] = {
        {"truncated stream", buildPng(parts(w, h, type, truncated, 5)), true, -1},
        {"stored stream cut after seven rows", buildPng(parts(w, h, type, storedCut, 11)), true, 7},
        {"two rows more than the image", buildPng(parts(w, h, type, zlibCompress(extraRows))), true,
         h},
        {"not a zlib header", buildPng(parts(w, h, type, badHeader)), false, -1},
        {"damaged block", buildPng(parts(w, h, type, damaged, 13)), false, -1},
        {"wrong checksum in its own chunk", buildPng(sumApart), true, h},
        {"wrong checksum with the data", buildPng(sumTogether), false, -1},
        {"invalid block after the data, apart", buildPng(junkApart), true, h},
        {"invalid block after the data, together", buildPng(junkTogether), false, -1},
        {"no image data", noIdat, true, 0},
    };
    const size_t row = size_t(w) * 3;
    for (const Case& c : cases) {
        Result r = decodeBoth(c.file, c.what);
        EXPECT_FALSE(r.whole) << c.what;
        EXPECT_EQ(c.ok, r.ok) << c.what;
        if (!c.ok || c.rows < 0) continue;
        ASSERT_EQ(row * h, r.pixels.size()) << c.what;
        for (int y = 0; y < h; ++y) {
            bool zero = true;
            for (size_t i = 0; i < row; ++i) zero = zero && r.pixels[y * row + i] == 0;
            EXPECT_EQ(y >= c.rows, zero) << c.what << " row " << y;
        }
    }
}

TEST(PngInflaters, StreamEndingEarlyLeavesTheSameRowsZeroBothWays) {
    const int w = 11, h = 10, type = 6;
    const size_t line = size_t(w) * 4 + 1;
    const Bytes scan = scanlines(w, h, type, 9);
    for (size_t bytes : {size_t(0), 4 * line, 4 * line + 5, (h - 1) * line}) {
        SCOPED_TRACE(bytes);
        PngParts p = parts(w, h, type, zlibCompress(Bytes(scan.begin(), scan.begin() + bytes)), 6);
        p.stream.insert(p.stream.end(), 30, 0xA5);  // never inflated
        Result r = decodeBoth(buildPng(p), "early end");
        EXPECT_TRUE(r.ok);
        EXPECT_TRUE(r.whole);
        const size_t complete = bytes / line, row = size_t(w) * 4;
        for (size_t i = complete * row; i < r.pixels.size(); ++i) ASSERT_EQ(0, r.pixels[i]) << i;
    }
}

TEST(PngInflaters, MutatedAndTruncatedFilesGiveTheSameResultBothWays) {
    std::mt19937 rng(4711);
    int whole = 0, fellBack = 0;
    for (int type : {0, 2, 4, 6}) {
        const int w = 19, h = 14;
        for (bool stored : {false, true}) {
            Bytes scan = scanlines(w, h, type, 300 + type);
            PngParts p = parts(w, h, type, stored ? zlibStored(scan, 90) : zlibCompress(scan), 50);
            p.chunksBetween = true;
            const Bytes good = buildPng(p);
            for (int i = 0; i < 600; ++i) {
                Bytes f = good;
                // Mostly edits inside the image data, so that the streams are damaged rather than
                // the chunk structure.
                const int edits = 1 + rng() % 3;
                for (int e = 0; e < edits; ++e) {
                    const size_t at = i % 4 == 0 ? rng() % f.size() : 40 + rng() % (f.size() - 52);
                    f[at] = static_cast<uint8_t>(rng());
                }
                if (i % 5 == 0) f.resize(40 + rng() % (f.size() - 40));
                Result r = decodeBoth(f, "mutated");
                if (r.whole) ++whole;
                else ++fellBack;
                if (::testing::Test::HasFailure()) {
                    ADD_FAILURE() << "type " << type << " stored " << stored << " case " << i;
                    return;
                }
            }
        }
    }
    // Both ways were taken many times.
    EXPECT_GT(whole, 200);
    EXPECT_GT(fellBack, 200);
}
