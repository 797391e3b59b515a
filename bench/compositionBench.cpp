// Composition of a typical scene at 800 x 600 (an RGB background, two soft-edged RGBA actors, a
// back slot with a layer at alpha 200) against the same five drawing operations called directly,
// and an idle frame of updateScreen against one CopyScreen.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string>

#include "base/clock.h"
#include "benchImages.h"
#include "config/systemInfo.h"
#include "graphics/graphics.h"
#include "graphics/screen.h"
#include "scenario/anime/composition.h"
#include "scenario/anime/pictureSlots.h"

namespace {
// An actor: an ellipse of photo colours with an 8-pixel soft edge in a 300 x 560 picture.
void makeActor(cSprite& s, int shift) {
    s.Create(4, 300, 560);
    const Bytes& photo = photoRgb();
    for (int y = 0; y < 560; ++y)
        for (int x = 0; x < 300; ++x) {
            uint8_t* p = s.pixels + (size_t(y) * 300 + x) * 4;
            const uint8_t* c = &photo[(size_t(y) * kBenchWidth + x + shift) * 3];
            const double dx = (x - 150) / 148.0, dy = (y - 280) / 278.0;
            const double edge = (1.0 - std::sqrt(dx * dx + dy * dy)) * 148 / 8;
            p[0] = static_cast<uint8_t>(std::fmin(255, std::fmax(0, edge * 255)));
            p[1] = c[2], p[2] = c[1], p[3] = c[0];
        }
}

struct Scene {
    std::map<std::string, cSprite> pictures;
    Scene() {
        cSprite& room = pictures["room.png"];
        room.Create(3, kBenchWidth, kBenchHeight);
        const Bytes& photo = photoRgb();
        for (size_t i = 0; i < size_t(kBenchWidth) * kBenchHeight; ++i) {
            room.pixels[i * 3] = photo[i * 3 + 2];
            room.pixels[i * 3 + 1] = photo[i * 3 + 1];
            room.pixels[i * 3 + 2] = photo[i * 3];
        }
        makeActor(pictures["left.png"], 0);
        makeActor(pictures["right.png"], 400);
        cSprite& mist = pictures["mist.png"];
        mist.Create(3, 800, 200);
        std::memcpy(mist.pixels, room.pixels + size_t(200) * 800 * 3, size_t(800) * 200 * 3);
    }
};
Scene& scene() {
    static Scene s;
    return s;
}

uint32_t benchClock() { return 1000; }

// A picture held by a slot as a load would leave it: the sprite holds the name, so the
// compositions never read it again.
void hold(cSprite& sprite, vstring& name, const char* picture) {
    sprite = scene().pictures[picture];
    sprite.SetName(picture);
    name = picture;
}

void setUpScene() {
    gScreenWidth = kBenchWidth;
    gScreenHeight = kBenchHeight;
    if (!gNextScreen.HasPixels()) createScreenCanvases();
    setClockSource(benchClock);
    clearAllAnime();
    mAnime::cAnimeData& back = *animeSlot(0);
    back.type = kAnimeTypeBack;
    hold(back.base, back.baseName, "room.png");
    hold(back.layers[0].image, back.layers[0].name, "mist.png");
    back.layers[0].alpha = 200;
    const struct {
        int slot;
        const char* picture;
        int x;
    } actors[] = {{3, "left.png", 220}, {5, "right.png", 580}};
    for (const auto& a : actors) {
        mAnime::cAnimeData& actor = *animeSlot(a.slot);
        actor.type = kAnimeTypeActor;
        hold(actor.base, actor.baseName, a.picture);
        actor.originX = 150;
        actor.originY = 560;
        actor.x = a.x;
        actor.y = kBenchHeight;
    }
    composeAllAnime();
}

void BM_ComposeAllAnime(benchmark::State& state) {
    setUpScene();
    for (auto _ : state) {
        composeAllAnime();
        benchmark::ClobberMemory();
    }
}
void BM_ComposeAllAnime_direct(benchmark::State& state) {
    setUpScene();
    Scene& s = scene();
    const cSprite& room = s.pictures["room.png"];
    const cSprite& left = s.pictures["left.png"];
    const cSprite& right = s.pictures["right.png"];
    const cSprite& mist = s.pictures["mist.png"];
    for (auto _ : state) {
        std::memset(gNextScreen.pixels, 0, static_cast<size_t>(gNextScreen.ByteCount()));
        gGraphics.Blt(gNextScreen, room, 0, 0);
        gGraphics.Blt(gNextScreen, left, 70, 40);
        gGraphics.Blt(gNextScreen, right, 430, 40);
        gGraphics.BltOpacity(gNextScreen, mist, 0, 0, 200);
        benchmark::ClobberMemory();
    }
}
void BM_UpdateScreen_idle(benchmark::State& state) {
    setUpScene();
    updateScreen();
    gFadeTime = 0;
    for (auto _ : state) {
        updateScreen();
        benchmark::ClobberMemory();
    }
}
void BM_UpdateScreen_CopyScreen(benchmark::State& state) {
    setUpScene();
    for (auto _ : state) {
        gGraphics.CopyScreen(gBackBuffer, gNextScreen);
        benchmark::ClobberMemory();
    }
}
}  // namespace

BENCHMARK(BM_ComposeAllAnime)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComposeAllAnime_direct)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdateScreen_idle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdateScreen_CopyScreen)->Unit(benchmark::kMicrosecond);
