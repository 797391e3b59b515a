// Composition of the slots on a 16 x 12 screen with hand-built pictures, movie slots, and the
// cross-fade of updateScreen.
#include <cstring>
#include <vector>

#include "animeTestSupport.h"
#include "base/displayMode.h"
#include "base/input.h"
#include "base/settings.h"
#include "graphics/pixelMath.h"
#include "graphics/transitionKernels.h"
#include "scenario/anime/composition.h"
#include "scenario/anime/pictureSlots.h"
#include "screenSizeGuard.h"
#include "testing.h"

namespace {

class Composition : public ::testing::Test {
protected:
    void SetUp() override {
        resetKeepingScreen();
        files.picture("room.png", 3, 16, 12, 50, 60, 70);
        files.picture("hero.png", 4, 4, 6, 10, 20, 30);
        files.picture("face.png", 3, 2, 2, 5, 5, 5);
        files.picture("dot.png", 3, 1, 1, 200, 200, 200);
        files.picture("veil.png", 3, 16, 2, 0, 0, 250);
    }
    void TearDown() override { resetEngineState(); }
    std::vector<uint8_t> next() const {
        return std::vector<uint8_t>(gNextScreen.pixels, gNextScreen.pixels + 16 * 12 * 3);
    }
    std::vector<uint8_t> back() const {
        return std::vector<uint8_t>(gBackBuffer.pixels, gBackBuffer.pixels + 16 * 12 * 3);
    }
    ScreenSize screen{16, 12};
    ScreenCanvases canvases;
    AnimeDataFolder files;
    TestClock clock{10000};
};

TEST_F(Composition, SlotsDrawInOrderAndAColourCoversLowerSlots) {
    ASSERT_TRUE(loadAnime(2, "room.png"));  // 16 x 12, bottom-centred: covers the screen
    ASSERT_TRUE(loadAnime(5, "hero.png"));  // 4 x 6 at (6, 6)
    composeAllAnime();
    EXPECT_EQ((Bgr{50, 60, 70}), pixelAt(gNextScreen, 0, 0));
    EXPECT_EQ((Bgr{10, 20, 30}), pixelAt(gNextScreen, 6, 6));
    EXPECT_EQ((Bgr{10, 20, 30}), pixelAt(gNextScreen, 9, 11));
    EXPECT_EQ((Bgr{50, 60, 70}), pixelAt(gNextScreen, 10, 11));
    // A lower slot is covered by a higher one: the same picture in slot 1 under slot 2 is hidden.
    ASSERT_TRUE(loadAnime(1, "hero.png"));
    setAnimeX(1, 2);
    setAnimeY(1, 6);
    composeAllAnime();
    EXPECT_EQ((Bgr{50, 60, 70}), pixelAt(gNextScreen, 0, 0));

    ASSERT_TRUE(loadAnime(4, "skyblue"));
    composeAllAnime();
    EXPECT_EQ((Bgr{255, 208, 142}), pixelAt(gNextScreen, 0, 0));
    EXPECT_EQ((Bgr{10, 20, 30}), pixelAt(gNextScreen, 6, 6));  // slot 5 above the colour
    EXPECT_EQ((Bgr{255, 208, 142}), pixelAt(gNextScreen, 15, 0));
}

TEST_F(Composition, ActorWithFaceOffsetAndPlacementsBeyond32Bits) {
    files.definition("girl.img",
                     "Type=actor\r\nBase=hero.png\r\nFace=face.png\r\nPosX=2\r\nPosY=6\r\n"
                     "FaceX=1\r\nFaceY=2\r\n#1\r\nBase=gone.png\r\n");
    ASSERT_TRUE(loadAnime(3, "girl.img"));
    composeAllAnime();
    // Base top-left at (8 - 2, 12 - 6) = (6, 6); face at (7, 8).
    EXPECT_EQ((Bgr{10, 20, 30}), pixelAt(gNextScreen, 6, 6));
    EXPECT_EQ((Bgr{5, 5, 5}), pixelAt(gNextScreen, 7, 8));
    EXPECT_EQ((Bgr{5, 5, 5}), pixelAt(gNextScreen, 8, 9));
    EXPECT_EQ((Bgr{10, 20, 30}), pixelAt(gNextScreen, 9, 9));
    // The face alone when the base fails to load.
    applyAnimeSection(3, 1);
    composeAllAnime();
    EXPECT_EQ((Bgr{0, 0, 0}), pixelAt(gNextScreen, 6, 6));
    EXPECT_EQ((Bgr{5, 5, 5}), pixelAt(gNextScreen, 7, 8));

    // x - originX + faceX is 4294967305; in 32 bits it would wrap to 9, on the screen.
    files.definition("far.img", "Type=actor\r\nFace=face.png\r\nPosX=-2147483648\r\nFaceX=2147483647\r\n");
    ASSERT_TRUE(loadAnime(3, "far.img"));
    setAnimeX(3, 10);
    setAnimeY(3, 0);
    composeAllAnime();
    for (uint8_t b : next()) ASSERT_EQ(0, b);
}

TEST_F(Composition, BackSlotLayersCoverHigherActors) {
    files.definition("garden.img",
                     "Type=back\r\nBase=room.png\r\nImg0=veil.png\r\nImg1=dot.png\r\nMode1=Normal\r\n"
                     "Alpha1=128\r\nImg2=face.png\r\nMode2=Glow\r\nImg3=face.png\r\nMode3=Add\r\n");
    ASSERT_TRUE(loadAnime(0, "garden.img"));
    ASSERT_TRUE(loadAnime(7, "hero.png"));  // 4 x 6 at (6, 6)
    setAnimeY(7, 8);                         // rows 2 to 7
    composeAllAnime();
    // Layers start at the frame's top-left: the veil covers rows 0 and 1, also over slot 7.
    EXPECT_EQ((Bgr{0, 0, 250}), pixelAt(gNextScreen, 7, 1));
    EXPECT_EQ((Bgr{10, 20, 30}), pixelAt(gNextScreen, 7, 2));
    EXPECT_EQ((Bgr{50, 60, 70}), pixelAt(gNextScreen, 0, 5));
    // Layer 1 at alpha 128 over the veil, then layer 3's 5 added.
    EXPECT_EQ(alphaOver(0, 200, 128) + 5, pixelAt(gNextScreen, 0, 0).b);
    EXPECT_EQ(alphaOver(250, 200, 128) + 5, pixelAt(gNextScreen, 0, 0).r);
    // Layer 2 has an unknown mode: hidden; layer 3 adds (saturating).
    EXPECT_EQ((Bgr{5, 5, 255}), pixelAt(gNextScreen, 1, 1));
    EXPECT_EQ((Bgr{0, 0, 250}), pixelAt(gNextScreen, 2, 1));
    // A back slot's base follows its position; its layers do not.
    setAnimeX(0, 3);
    composeAllAnime();
    EXPECT_EQ((Bgr{0, 0, 0}), pixelAt(gNextScreen, 0, 5));
    EXPECT_EQ((Bgr{50, 60, 70}), pixelAt(gNextScreen, 3, 5));
    EXPECT_EQ((Bgr{5, 5, 255}), pixelAt(gNextScreen, 1, 1));
}

TEST_F(Composition, PicturesAreLoadedOnceAndAgainOnlyWhenTheirNameChanges) {
    files.definition("garden.img", "Type=back\r\nBase=room.png\r\nImg0=veil.png\r\n#1\r\nImg0=dot.png\r\n");
    ASSERT_TRUE(loadAnime(0, "garden.img"));
    composeAllAnime();
    EXPECT_EQ((Bgr{0, 0, 250}), pixelAt(gNextScreen, 5, 1));
    // The files change; the slot keeps the pictures it holds.
    files.picture("veil.png", 3, 16, 2, 1, 1, 1);
    files.picture("room.png", 3, 16, 12, 2, 2, 2);
    composeAllAnime();
    EXPECT_EQ((Bgr{0, 0, 250}), pixelAt(gNextScreen, 5, 1));
    EXPECT_EQ((Bgr{50, 60, 70}), pixelAt(gNextScreen, 5, 5));
    // A new name is loaded (and an old name again after it).
    applyAnimeSection(0, 1);
    composeAllAnime();
    EXPECT_EQ((Bgr{200, 200, 200}), pixelAt(gNextScreen, 0, 0));
    EXPECT_EQ((Bgr{50, 60, 70}), pixelAt(gNextScreen, 5, 1));
    applyAnimeSection(0, 0);
    composeAllAnime();
    EXPECT_EQ((Bgr{1, 1, 1}), pixelAt(gNextScreen, 5, 1));
}

const char* const kMovie =
    "Type=movie\r\nImg0=dot.png\r\nmove.x: 1001 0\r\nmax.x: 10\r\ndraw: 0 x y\r\n";

int dotColumn() {
    for (int x = 0; x < 16; ++x)
        if (pixelAt(gNextScreen, x, 0).r == 200) return x;
    return -1;
}

TEST_F(Composition, AMovieInSlotZeroMovesWithTheClockUntilItRestsAtItsMax) {
    files.definition("dot.img", kMovie);
    ASSERT_TRUE(loadAnime(0, "dot.img"));
    updateScreen();
    EXPECT_EQ(0, dotColumn());
    for (int t : {2, 5, 9, 10, 11, 500}) {
        clock.now() = 10000 + t;
        updateScreen();
        EXPECT_EQ(t < 10 ? t : 10, dotColumn()) << t;
    }
    EXPECT_EQ(0, gAnimeDirty);
}

TEST_F(Composition, AMovieInAHigherSlotIsFrozenUntilASlotOperation) {
    files.definition("dot.img", kMovie);
    ASSERT_TRUE(loadAnime(5, "dot.img"));
    setAnimeX(5, 0);
    setAnimeY(5, 0);
    updateScreen();
    EXPECT_EQ(0, dotColumn());
    clock.now() = 10004;
    updateScreen();
    EXPECT_EQ(0, dotColumn());
    setAnimeY(9, 0);  // any slot
    updateScreen();
    EXPECT_EQ(4, dotColumn());
    // In display mode system every frame composes.
    MsgWindowMode = kModeSystem;
    clock.now() = 10007;
    updateScreen();
    EXPECT_EQ(7, dotColumn());
}

TEST_F(Composition, TheFirstUpdateComposesAndFadesFromBlack) {
    ASSERT_TRUE(loadAnime(0, "room.png"));
    updateScreen();
    EXPECT_EQ(500, gFadeTime);
    // Alpha 0 on the plain formula: black, not whatever the canvas held.
    for (uint8_t b : back()) ASSERT_EQ(0, b);
    clock.now() = 10250;
    updateScreen();
    EXPECT_EQ((Bgr{25, 30, 35}), pixelAt(gBackBuffer, 3, 3));  // alpha 128: v x 128 >> 8
    clock.now() = 10500;
    updateScreen();
    EXPECT_EQ(0, gFadeTime);
    EXPECT_EQ(next(), back());
    // Idle frames copy.
    std::memset(gBackBuffer.pixels, 1, 16 * 12 * 3);
    updateScreen();
    EXPECT_EQ(next(), back());
}

TEST_F(Composition, ARequestOfZeroShowsTheChangeAtOnceAndIsUsedOnce) {
    updateScreen();
    setFadeTime(0);
    ASSERT_TRUE(loadAnime(0, "room.png"));
    updateScreen();
    EXPECT_EQ(0, gFadeTime);
    EXPECT_EQ(-1, gRequestedFadeTime);
    EXPECT_EQ(next(), back());
    ASSERT_TRUE(loadAnime(0, "skyblue"));
    updateScreen();
    EXPECT_EQ(500, gFadeTime);
}

TEST_F(Composition, ASecondChangeFadesFromTheFinishedComposition) {
    ASSERT_TRUE(loadAnime(0, "room.png"));
    setFadeTime(0);
    updateScreen();
    const std::vector<uint8_t> first = next();

    setFadeTime(1000);
    ASSERT_TRUE(loadAnime(0, "skyblue"));
    updateScreen();
    const std::vector<uint8_t> second = next();
    clock.now() = 10200;
    updateScreen();
    EXPECT_NE(first, back());
    EXPECT_NE(second, back());

    setFadeTime(1000);
    ASSERT_TRUE(loadAnime(0, "white"));
    updateScreen();
    EXPECT_EQ(second, std::vector<uint8_t>(gPrevScreen.pixels, gPrevScreen.pixels + 16 * 12 * 3));
    EXPECT_EQ(10200u, gFadeStart);
    clock.now() = 10700;
    updateScreen();
    std::vector<uint8_t> want(16 * 12 * 3);
    crossFadeScalar(want.data(), next().data(), second.data(), want.size(), 128);
    EXPECT_EQ(want, back());
    clock.now() = 11200;
    updateScreen();
    EXPECT_EQ(next(), back());
}

int gSkipAsks = 0;
bool gCtrlHeld = false;
bool ctrlHeld() {
    ++gSkipAsks;
    return gCtrlHeld;
}
const InputBackend kCtrlBackend = {nullptr, nullptr, nullptr, ctrlHeld, nullptr};

TEST_F(Composition, FadeSuppressionByEffectsSkippingAndDisplayMode) {
    setInputBackend(&kCtrlBackend);
    for (int effects = 0; effects < 2; ++effects) {
        for (int skipping = 0; skipping < 2; ++skipping) {
            for (uint8_t mode = 0; mode <= kModeLast; ++mode) {
                resetKeepingScreen();
                UserSettings.screenEffects = static_cast<uint8_t>(effects);
                gCtrlHeld = skipping != 0;
                MsgWindowMode = mode;
                updateScreen();
                setFadeTime(400);
                ASSERT_TRUE(loadAnime(0, "room.png"));
                gSkipAsks = 0;
                updateScreen();
                const bool kept = (effects && !skipping) || mode == kModeSystem || mode == kModeDemo;
                SCOPED_TRACE(testing::Message() << "effects " << effects << " skipping " << skipping
                                                << " mode " << int(mode));
                EXPECT_EQ(kept ? 400 : 0, gFadeTime);
                if (kept) EXPECT_NE(next(), back());
                else EXPECT_EQ(next(), back());
                EXPECT_EQ(effects ? 1 : 0, gSkipAsks);  // skipping is asked only with effects on
            }
        }
    }
    setInputBackend(nullptr);
    // The skip mode counts as skipping too.
    resetKeepingScreen();
    updateScreen();
    setSkipMode();
    ASSERT_TRUE(loadAnime(0, "room.png"));
    updateScreen();
    EXPECT_EQ(0, gFadeTime);
}

TEST_F(Composition, ComposeScreenNowCancelsAFade) {
    ASSERT_TRUE(loadAnime(0, "room.png"));
    updateScreen();
    EXPECT_EQ(500, gFadeTime);
    std::memset(gBackBuffer.pixels, 9, 16 * 12 * 3);
    setFadeTime(30);
    loadAnime(0, "white");
    composeScreenNow();
    EXPECT_EQ(0, gFadeTime);
    EXPECT_EQ(0, gAnimeDirty);
    EXPECT_EQ(30, gRequestedFadeTime);
    EXPECT_EQ(9, gBackBuffer.pixels[0]);
    EXPECT_EQ((Bgr{255, 255, 255}), pixelAt(gNextScreen, 0, 0));
    updateScreen();
    EXPECT_EQ(next(), back());
}

TEST_F(Composition, ElapsedTimesWrapAndLongFadesEnd) {
    clock.now() = 0xFFFFFF00u;
    setFadeTime(60000);
    ASSERT_TRUE(loadAnime(0, "room.png"));
    updateScreen();
    clock.now() = 0x00000100u;  // 512 ms later across the wrap
    updateScreen();
    std::vector<uint8_t> want(16 * 12 * 3), black(16 * 12 * 3, 0);
    crossFadeScalar(want.data(), next().data(), black.data(), want.size(), 512 * 256 / 60000);
    EXPECT_EQ(want, back());
    clock.now() = 0xFFFFFF00u + 60000u;
    updateScreen();
    EXPECT_EQ(next(), back());
    EXPECT_EQ(0, gFadeTime);
}

}  // namespace
