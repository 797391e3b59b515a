// The noise test with its picture from the data folder: missing, then present (loaded at the next
// run because none was held).
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "../files/winTempFolder.h"
#include "base/clock.h"
#include "base/input.h"
#include "base/moduleState.h"
#include "base/present.h"
#include "files/archiveIndex.h"
#include "graphics/image.h"
#include "graphics/noiseKernels.h"
#include "graphics/screen.h"
#include "graphics/screenEffects.h"
#include "png/pngBuilder.h"
#include "screenSizeGuard.h"
#include "testing.h"

namespace {
constexpr int kW = 48, kH = 32;
uint32_t gNow = 0;
uint32_t gRandState = 0;
std::vector<std::vector<uint8_t>> gFrames;

uint32_t testClock() { return gNow; }
void sleepHook(uint32_t) { gNow += 5000; }  // every phase ends after its first pass
void present() { gFrames.emplace_back(gBackBuffer.pixels, gBackBuffer.pixels + gBackBuffer.ByteCount()); }
int scriptedRand() {
    gRandState = gRandState * 1103515245u + 12345u;
    return int((gRandState >> 16) & 0x7FFF);
}

struct NoiseEffect : ::testing::Test {
    ScreenSize size{kW, kH};
    TempFolder temp;
    std::string data = temp / "data\\";
    void SetUp() override {
        resetEngineState();
        TempFolder::makeFolder(data);
        TempFolder::makeFolder(data + "img");
        ASSERT_TRUE(setDataFolder(data.c_str()));
        gArchiveIndex.clear();
        setClockSource(testClock);
        setSleepHook(sleepHook);
        setPresentHooks(present, nullptr);
        setRandSource(scriptedRand);
        ASSERT_TRUE(gBackBuffer.CreateScreen());
        gBackBuffer.FillRgb(9, 8, 7);
    }
    void TearDown() override {
        setRandSource(nullptr);
        setPresentHooks(nullptr, nullptr);
        setSleepHook(nullptr);
        setClockSource(nullptr);
        gBackBuffer.Release();
        resetEngineState();
    }
};
}  // namespace

TEST_F(NoiseEffect, MissingPictureThenPictureFromTheDataFolder) {
    const std::vector<uint8_t> before(gBackBuffer.pixels, gBackBuffer.pixels + gBackBuffer.ByteCount());
    gFrames.clear();
    playNoiseEffect(1, 2, 3, 4, 5, 6, 7, 8);
    ASSERT_EQ(4u, gFrames.size());
    for (int i = 0; i < 3; ++i) EXPECT_EQ(before, gFrames[i]) << i;  // nothing to draw from
    EXPECT_NE(before, gFrames[3]);                                    // row noise over itself

    // The picture appears: the next run loads it (RGB rows, stored blue first).
    Bytes raw(size_t(kW) * kH * 3);
    for (size_t i = 0; i < raw.size(); ++i) raw[i] = uint8_t(i * 7);
    PngParts parts;
    parts.header = ihdr(kW, kH, 2);
    parts.stream = zlibCompress(filterRows(raw, kW, kH, 3, {0}));
    ASSERT_TRUE(TempFolder::writeFile(data + "img\\_test.png", buildPng(parts)));
    cCanvas picture;
    ASSERT_TRUE(picture.Create(3, kW, kH));
    for (size_t p = 0; p < size_t(kW) * kH; ++p)
        picture.pixels[p * 3] = raw[p * 3 + 2], picture.pixels[p * 3 + 1] = raw[p * 3 + 1],
        picture.pixels[p * 3 + 2] = raw[p * 3];

    gFrames.clear();
    gRandState = 5;
    playNoiseEffect(0, 0, 0, 0, 0, 0, 0, 0);
    ASSERT_EQ(4u, gFrames.size());
    cCanvas expect;
    ASSERT_TRUE(expect.CreateScreen());
    gRandState = 5;
    ASSERT_TRUE(addRowNoise(expect, picture, scriptedRand() % 50 + 10));
    EXPECT_EQ(std::vector<uint8_t>(expect.pixels, expect.pixels + expect.ByteCount()), gFrames[0]);

    // Held for later runs: removing the file changes nothing.
    DeleteFileA((data + "img\\_test.png").c_str());
    gFrames.clear();
    gRandState = 5;
    playNoiseEffect(0, 0, 0, 0, 0, 0, 0, 0);
    ASSERT_EQ(4u, gFrames.size());
    EXPECT_EQ(std::vector<uint8_t>(expect.pixels, expect.pixels + expect.ByteCount()), gFrames[0]);
}
