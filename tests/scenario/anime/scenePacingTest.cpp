// The scene's frame pacing: a loop that presents only the frames paceScene calls due shows at
// every millisecond what a loop that composes every millisecond shows, except that a moving
// picture (a cross-fade, an animation program) may lag by less than one frame interval; and it
// presents no frame while nothing changes.
#include <cstring>
#include <functional>
#include <vector>

#include "animeTestSupport.h"
#include "base/displayMode.h"
#include "base/framePacer.h"
#include "base/settings.h"
#include "scenario/anime/composition.h"
#include "scenario/anime/pictureSlots.h"
#include "screenSizeGuard.h"
#include "testing.h"

namespace {
using Screen = std::vector<uint8_t>;
// Slot operations at given milliseconds of a run.
using Scenario = std::function<void(uint32_t t)>;

const char* const kMovingDot =
    "Type=movie\r\nImg0=dot.png\r\nmove.x: 50 0\r\nmax.x: 15\r\ndraw: 0 x y\r\n";

class ScenePacing : public ::testing::Test {
protected:
    void SetUp() override {
        resetKeepingScreen();
        files.picture("room.png", 3, 16, 12, 50, 60, 70);
        files.picture("sky.png", 3, 16, 12, 200, 100, 0);
        files.picture("dot.png", 3, 1, 1, 255, 255, 255);
        files.definition("dot.img", kMovingDot);
    }
    void TearDown() override { resetEngineState(); }

    Screen back() const { return Screen(gBackBuffer.pixels, gBackBuffer.pixels + 16 * 12 * 3); }

    // The screen at every millisecond 0 .. length - 1 of the scenario: recomposed every time
    // (paced false), or presented only when paceScene says so (paced true; the screen keeps the
    // last presented frame). presentedAt collects the times of the presented frames.
    std::vector<Screen> run(const Scenario& scenario, uint32_t length, bool paced,
                            std::vector<uint32_t>* presentedAt = nullptr) {
        resetKeepingScreen();
        for (cCanvas* c : {&gBackBuffer, &gNextScreen, &gPrevScreen})
            std::memset(c->pixels, 0, static_cast<size_t>(c->ByteCount()));
        cFramePacer pacer;
        Screen shown;
        std::vector<Screen> out;
        for (uint32_t t = 0; t < length; ++t) {
            clock.now() = kStart + t;
            scenario(t);
            pacer.BeginFrame();
            paceScene(pacer);
            if (!paced || pacer.FrameDue()) {
                updateScreen();
                shown = back();
                pacer.Presented();
                if (presentedAt) presentedAt->push_back(t);
            }
            out.push_back(shown);
        }
        return out;
    }

    // Every millisecond of the paced run shows the frame the unpaced run shows then, or, while
    // the picture moves, one it showed less than a frame interval before.
    void expectSameAsEveryMillisecond(const Scenario& scenario, uint32_t length) {
        const std::vector<Screen> every = run(scenario, length, false);
        std::vector<uint32_t> at;
        const std::vector<Screen> paced = run(scenario, length, true, &at);
        size_t last = 0;
        for (uint32_t t = 0; t < length; ++t) {
            while (last + 1 < at.size() && at[last + 1] <= t) ++last;
            if (paced[t] == every[t]) continue;
            ASSERT_LT(t - at[last], frameIntervalMs()) << "stale at " << t;
            ASSERT_EQ(every[at[last]], paced[t]) << t;
        }
    }

    static constexpr uint32_t kStart = 10000;
    ScreenSize screen{16, 12};
    ScreenCanvases canvases;
    AnimeDataFolder files;
    TestClock clock{kStart};
};

TEST_F(ScenePacing, TheStepsOfACrossFade) {
    // nextFadeStepMs: the least elapsed time with a larger alpha (elapsed x 256 / length).
    const struct {
        uint32_t elapsed, length, next;
    } cases[] = {
        {0, 500, 2},     {1, 500, 2},     {2, 500, 4},      {498, 500, 499}, {499, 500, 500},
        {0, 256, 1},     {7, 256, 8},     {0, 100, 1},      {0, 1000, 4},    {3, 1000, 4},
        {0, 60000, 235}, {500, 500, 500}, {9000, 500, 9000}, {5, 0, 5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.next, nextFadeStepMs(c.elapsed, c.length)) << c.elapsed << " of " << c.length;
        if (c.length && c.elapsed < c.length) {
            const uint64_t alpha = uint64_t(c.elapsed) * 256 / c.length;
            EXPECT_GT(uint64_t(c.next) * 256 / c.length, alpha);
            EXPECT_EQ(uint64_t(c.next - 1) * 256 / c.length, alpha);
        }
    }
}

TEST_F(ScenePacing, AFadeIsShownOncePerFrameAndItsEndAtOnceThenNothing) {
    const Scenario fade = [](uint32_t t) {
        if (t == 0) {
            setFadeTime(300);
            loadAnime(0, "room.png");
        }
    };
    expectSameAsEveryMillisecond(fade, 800);
    std::vector<uint32_t> at;
    run(fade, 800, true, &at);
    ASSERT_GE(at.size(), 3u);
    EXPECT_EQ(0u, at.front());
    EXPECT_EQ(300u, at.back());  // the finished composition, at once
    for (size_t i = 1; i + 1 < at.size(); ++i) EXPECT_EQ(frameIntervalMs(), at[i] - at[i - 1]) << i;
    EXPECT_LE(at.size(), 300 / frameIntervalMs() + 2);
}

TEST_F(ScenePacing, ChangesDuringAndAfterFadesAndAMovingProgram) {
    const Scenario scenario = [](uint32_t t) {
        switch (t) {
            case 0: setFadeTime(0); loadAnime(0, "room.png"); break;
            case 40: setFadeTime(200); loadAnime(0, "sky.png"); break;
            case 90: setFadeTime(100); loadAnime(0, "room.png"); break;  // in the middle of a fade
            case 400: UserSettings.screenEffects = 0; loadAnime(0, "sky.png"); break;
            case 450: UserSettings.screenEffects = 1; setFadeTime(300); loadAnime(0, "room.png"); break;
            case 500: UserSettings.screenEffects = 0; break;  // the running fade is cut
            case 600: loadAnime(0, "dot.img"); break;         // moves for 300 ms, then rests
            case 1000: loadAnime(5, "dot.img"); break;         // frozen in slot 5
            default: break;
        }
    };
    expectSameAsEveryMillisecond(scenario, 1300);
}

TEST_F(ScenePacing, InDisplayModeSystemEveryMovieSlotMoves) {
    const Scenario scenario = [](uint32_t t) {
        if (t == 0) {
            setFadeTime(0);
            loadAnime(0, "room.png");
            loadAnime(5, "dot.img");
        }
        if (t == 100) MsgWindowMode = kModeSystem;
    };
    expectSameAsEveryMillisecond(scenario, 500);
    std::vector<uint32_t> at;
    run(scenario, 500, true, &at);
    // Frozen before the mode changed: one frame; moving afterwards.
    EXPECT_EQ(0u, at[0]);
    ASSERT_GE(at.size(), 2u);
    EXPECT_GE(at[1], 100u);
    EXPECT_GT(at.size(), 10u);
}

TEST_F(ScenePacing, AtRestNothingIsDueAndTheLoopWaitsTheLongest) {
    setFadeTime(0);
    loadAnime(0, "room.png");
    cFramePacer pacer;
    pacer.BeginFrame();
    paceScene(pacer);
    ASSERT_TRUE(pacer.FrameDue());
    updateScreen();
    pacer.Presented();
    for (uint32_t t = 1; t < 5000; t += 250) {
        clock.now() = kStart + t;
        pacer.BeginFrame();
        paceScene(pacer);
        EXPECT_FALSE(pacer.FrameDue()) << t;
        EXPECT_EQ(kPacerLongestWaitMs, pacer.WaitMs(clock.now())) << t;
    }
    // A slot operation makes the next frame due at once.
    setAnimeX(0, 3);
    pacer.BeginFrame();
    paceScene(pacer);
    EXPECT_TRUE(pacer.FrameDue());
    EXPECT_EQ(0u, pacer.WaitMs(clock.now()));
}
}  // namespace
