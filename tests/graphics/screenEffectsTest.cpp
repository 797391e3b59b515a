// Flash, shake and the noise phases over a test clock, scripted input, a scripted generator, a
// counted sleep and a present hook that records each frame.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/clock.h"
#include "base/input.h"
#include "base/moduleState.h"
#include "base/present.h"
#include "base/settings.h"
#include "graphics/image.h"
#include "graphics/noiseKernels.h"
#include "graphics/screen.h"
#include "graphics/screenEffects.h"
#include "screenSizeGuard.h"
#include "testing.h"

namespace {

constexpr int kW = 128, kH = 96;

// The test's world: clock, input, frames.
struct World {
    std::vector<uint32_t> times;  // successive clock readings; the last repeats
    size_t nextTime = 0;
    uint32_t now = 0;
    uint32_t clockStep = 0;   // when times is empty: each reading adds this
    uint32_t sleepStep = 0;   // each sleep adds this to now
    int polls = 0;
    int quitAtPoll = 1 << 30;  // the poll of this number reports quit
    bool skipHeld = false;
    int sleeps = 0;
    std::vector<std::vector<uint8_t>> frames;
    std::vector<uint32_t> frameTimes;
};
World* gWorld = nullptr;

uint32_t testClock() {
    World& w = *gWorld;
    if (!w.times.empty()) {
        const uint32_t t = w.times[std::min(w.nextTime, w.times.size() - 1)];
        ++w.nextTime;
        return t;
    }
    w.now += w.clockStep;
    return w.now;
}
bool testPoll(uint8_t, bool) { return ++gWorld->polls < gWorld->quitAtPoll; }
bool testSkipHeld() { return gWorld->skipHeld; }
void testSleep(uint32_t ms) {
    ++gWorld->sleeps;
    gWorld->now += gWorld->sleepStep * ms;
}
void testPresent() {
    gWorld->frames.emplace_back(gBackBuffer.pixels, gBackBuffer.pixels + gBackBuffer.ByteCount());
    gWorld->frameTimes.push_back(gWorld->now);
}
const InputBackend kBackend = {testPoll, nullptr, nullptr, testSkipHeld, nullptr};

std::vector<uint8_t> bytes(const cImage& image) {
    return std::vector<uint8_t>(image.pixels, image.pixels + image.ByteCount());
}

class ScreenEffects : public ::testing::Test {
protected:
    ScreenSize size{kW, kH};
    World world;
    void SetUp() override {
        resetEngineState();
        gWorld = &world;
        UserSettings.screenEffects = 1;
        setClockSource(testClock);
        setInputBackend(&kBackend);
        setSleepHook(testSleep);
        setPresentHooks(testPresent, nullptr);
        ASSERT_TRUE(gBackBuffer.CreateScreen());
        ASSERT_TRUE(gNextScreen.CreateScreen());
        // The scene: pixel (x, y) is blue x, green y, red 200; the back buffer starts dark red.
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                uint8_t* p = gNextScreen.pixels + (y * kW + x) * 3;
                p[0] = uint8_t(x), p[1] = uint8_t(y), p[2] = 200;
            }
        gBackBuffer.FillRgb(50, 0, 0);
    }
    void TearDown() override {
        setPresentHooks(nullptr, nullptr);
        setSleepHook(nullptr);
        setInputBackend(nullptr);
        setClockSource(nullptr);
        setRandSource(nullptr);
        gBackBuffer.Release();
        gNextScreen.Release();
        resetEngineState();
        gWorld = nullptr;
    }
};

// The shift (dx, dy) of the scene in a frame, read at the centre.
std::pair<int, int> shiftOf(const std::vector<uint8_t>& frame) {
    const uint8_t* p = &frame[(kH / 2 * kW + kW / 2) * 3];
    return {kW / 2 - p[0], kH / 2 - p[1]};
}
int displacement(uint32_t e, int f, uint32_t ms, int amplitude) {
    return int(std::trunc(std::sin(double(e) * f / ms) * amplitude));
}

}  // namespace

TEST_F(ScreenEffects, FlashAlternatesColourAndSceneEndingOnTheScene) {
    const std::vector<uint8_t> scene = bytes(gNextScreen);
    std::vector<uint8_t> red(size_t(kW) * kH * 3);
    for (size_t i = 0; i < red.size(); i += 3) red[i] = 0, red[i + 1] = 0, red[i + 2] = 255;
    struct Case {
        int count, presents;
    };
    for (Case c : {Case{0, 2}, Case{3, 6}, Case{25, 20}, Case{-4, 2}, Case{10, 20}}) {
        world.frames.clear();
        EXPECT_TRUE(flashScreen(c.count, RgbColour{255, 0, 0}));
        ASSERT_EQ(size_t(c.presents), world.frames.size()) << c.count;
        for (size_t i = 0; i < world.frames.size(); ++i) EXPECT_EQ(i % 2 ? scene : red, world.frames[i]) << i;
        EXPECT_EQ(scene, bytes(gBackBuffer));
    }
    // The screen-effects setting does not matter.
    UserSettings.screenEffects = 0;
    world.frames.clear();
    flashScreen(1, RgbColour{1, 2, 3});
    EXPECT_EQ(2u, world.frames.size());
}

TEST_F(ScreenEffects, DefaultShakeAtSampledTimes) {
    world.times = {1000, 1010, 1100, 1500, 2001};
    EXPECT_TRUE(shakeScreen(20, 20, 71, 83, 1000));
    ASSERT_EQ(4u, world.frames.size());
    EXPECT_EQ(std::make_pair(13, 14), shiftOf(world.frames[0]));
    EXPECT_EQ(std::make_pair(14, 18), shiftOf(world.frames[1]));
    EXPECT_EQ(std::make_pair(-16, -12), shiftOf(world.frames[2]));
    // The pass past the end still shows its frame; then the scene is drawn unshaken and not shown.
    EXPECT_EQ(std::make_pair(displacement(1001, 71, 1000, 20), displacement(1001, 83, 1000, 20)),
              shiftOf(world.frames[3]));
    EXPECT_NE(std::make_pair(0, 0), shiftOf(world.frames[3]));
    EXPECT_EQ(bytes(gNextScreen), bytes(gBackBuffer));
    // The strip the shifted scene leaves keeps what the back buffer held: at shift (13, 14) the top
    // rows and left columns of the first frame are still dark red.
    const std::vector<uint8_t>& first = world.frames[0];
    EXPECT_EQ(50, first[2]);
    EXPECT_EQ(0, first[0]);
    EXPECT_EQ(50, first[(13 * kW + 100) * 3 + 2]);
    EXPECT_EQ(200, first[(14 * kW + 13) * 3 + 2]);
}

TEST_F(ScreenEffects, PresetsStayWithinTheirAmplitudesAndAxes) {
    struct Preset {
        int ax, ay, fx, fy;
        uint32_t ms;
    };
    // "big" never reaches 40; "xonly" never moves vertically, "yonly" never horizontally.
    for (Preset p : {Preset{40, 40, 71, 83, 1500}, Preset{20, 0, 71, 0, 1000}, Preset{0, 20, 0, 71, 1000}}) {
        world.frames.clear();
        world.times.clear();
        world.now = 5000;
        world.clockStep = 1;
        EXPECT_TRUE(shakeScreen(p.ax, p.ay, p.fx, p.fy, p.ms));
        ASSERT_EQ(size_t(p.ms) + 1, world.frames.size());  // e = 1 .. ms + 1
        int maxX = 0, maxY = 0;
        for (size_t i = 0; i < world.frames.size(); ++i) {
            const auto s = shiftOf(world.frames[i]);
            ASSERT_EQ(displacement(uint32_t(i + 1), p.fx, p.ms, p.ax), s.first) << i;
            ASSERT_EQ(displacement(uint32_t(i + 1), p.fy, p.ms, p.ay), s.second) << i;
            maxX = std::max(maxX, std::abs(s.first));
            maxY = std::max(maxY, std::abs(s.second));
        }
        EXPECT_LT(maxX, 40);
        EXPECT_LT(maxY, 40);
        if (p.ay == 0) {
            EXPECT_EQ(0, maxY);
        }
        if (p.ax == 0) {
            EXPECT_EQ(0, maxX);
        }
        if (p.ax == 40) {
            EXPECT_EQ(39, maxX);
        }
    }
}

TEST(ShakePresets, NoDisplacementButZeroLiesNearAnInteger) {
    // So a quotient rounded once to a double truncates as one formed in extended precision would.
    struct Preset {
        int ax, ay, fx, fy, ms;
    };
    const Preset presets[] = {{10, 10, 39, 37, 1000}, {40, 40, 71, 83, 1500}, {5, 5, 71, 83, 1000},
                              {20, 0, 71, 0, 1000},   {0, 20, 0, 71, 1000},   {20, 20, 83, 71, 200},
                              {20, 20, 71, 83, 1000}};
    for (const Preset& p : presets)
        for (int e = 0; e <= p.ms; ++e)
            for (int axis = 0; axis < 2; ++axis) {
                const double v = std::sin(double(e) * (axis ? p.fy : p.fx) / p.ms) * (axis ? p.ay : p.ax);
                if (v != 0) {
                    ASSERT_GT(std::fabs(v - std::nearbyint(v)), 5e-10) << e;
                }
            }
}

TEST_F(ScreenEffects, ShakeThatDoesNotRun) {
    const std::vector<uint8_t> before = bytes(gBackBuffer);
    world.clockStep = 1;
    UserSettings.screenEffects = 0;
    EXPECT_TRUE(shakeScreen(20, 20, 71, 83, 1000));
    EXPECT_TRUE(world.frames.empty());
    EXPECT_EQ(before, bytes(gBackBuffer));
    UserSettings.screenEffects = 1;
    EXPECT_TRUE(shakeScreen(20, 20, 71, 83, 0));
    EXPECT_TRUE(world.frames.empty());
    EXPECT_EQ(before, bytes(gBackBuffer));
    EXPECT_EQ(0, world.polls);
}

TEST_F(ScreenEffects, SkipOrQuitLeaveAtOnce) {
    world.clockStep = 1;
    world.skipHeld = true;
    EXPECT_TRUE(shakeScreen(20, 20, 71, 83, 1000));
    EXPECT_TRUE(world.frames.empty());
    EXPECT_EQ(bytes(gNextScreen), bytes(gBackBuffer));  // left unshaken
    world.skipHeld = false;
    setSkipMode();
    EXPECT_TRUE(shakeScreen(20, 20, 71, 83, 1000));
    EXPECT_TRUE(world.frames.empty());
    setForcedSkip(false);
    // Quit after three frames.
    world.polls = 0;
    world.quitAtPoll = 4;
    EXPECT_TRUE(shakeScreen(20, 20, 71, 83, 1000));
    EXPECT_EQ(3u, world.frames.size());
    EXPECT_EQ(bytes(gNextScreen), bytes(gBackBuffer));
}

namespace {
uint32_t gRandState = 0;
int scriptedRand() {
    gRandState = gRandState * 1103515245u + 12345u;
    return int((gRandState >> 16) & 0x7FFF);
}
}  // namespace

TEST_F(ScreenEffects, NoisePhasesPresentUntilTheirTimeIsSpent) {
    cSprite picture;
    ASSERT_TRUE(picture.Create(3, kW, kH));
    std::memset(picture.pixels, 128, picture.ByteCount());
    // Each pass sleeps 1 ms, which this clock turns into 500 ms: phases of 3000 ms end after the pass
    // whose remaining time is -500 (7 passes), the 4000 ms one after 9.
    world.now = 1000;
    world.sleepStep = 500;
    runNoisePhases(picture);
    EXPECT_EQ(7 + 7 + 7 + 9, int(world.frames.size()));
    EXPECT_EQ(30, world.sleeps);
    EXPECT_EQ(30, world.polls);
}

TEST_F(ScreenEffects, NoiseStepsDrawFromTheScriptedGenerator) {
    // One pass a phase (each sleep spends the phase), and the frame of each checked against the kernels
    // run again over the same numbers.
    cSprite picture;
    ASSERT_TRUE(picture.Create(3, kW, kH));
    for (uint64_t i = 0; i < picture.ByteCount(); ++i) picture.pixels[i] = uint8_t(i * 31 / 7);
    world.sleepStep = 5000;
    gRandState = 42;
    setRandSource(scriptedRand);
    runNoisePhases(picture);
    ASSERT_EQ(4u, world.frames.size());

    cCanvas expect;
    ASSERT_TRUE(expect.CreateScreen());
    gBackBuffer.FillRgb(50, 0, 0);
    std::memcpy(expect.pixels, gBackBuffer.pixels, expect.ByteCount());
    gRandState = 42;
    ASSERT_TRUE(addRowNoise(expect, picture, scriptedRand() % 50 + 10));
    EXPECT_EQ(bytes(expect), world.frames[0]);
    ASSERT_TRUE(jitterRows(expect, picture, scriptedRand() % 8));
    EXPECT_EQ(bytes(expect), world.frames[1]);
    ASSERT_TRUE(addStreamNoise(expect, picture, scriptedRand() % 20 + 30));
    EXPECT_EQ(bytes(expect), world.frames[2]);
    ASSERT_TRUE(jitterRows(expect, picture, scriptedRand() % 8));
    ASSERT_TRUE(addRowNoise(expect, expect, scriptedRand() % 50 + 10));
    EXPECT_EQ(bytes(expect), world.frames[3]);
    EXPECT_NE(world.frames[0], world.frames[2]);
}

TEST_F(ScreenEffects, QuitInTheFirstPhaseEndsAllFour) {
    cSprite picture;
    ASSERT_TRUE(picture.Create(3, kW, kH));
    std::memset(picture.pixels, 1, picture.ByteCount());
    world.sleepStep = 100;
    world.quitAtPoll = 3;  // two passes of phase 1, then quit
    runNoisePhases(picture);
    EXPECT_EQ(2u, world.frames.size());
    EXPECT_EQ(2, world.sleeps);
    EXPECT_EQ(3, world.polls);  // the pump reports quit for ever after, without asking the backend
}

TEST_F(ScreenEffects, MissingTestPictureLeavesThreePhasesStillThenNoiseAccumulates) {
    cSprite missing;
    world.sleepStep = 1000;  // 4 passes in each 3000 ms phase, 5 in the last
    setRandSource(scriptedRand);
    gRandState = 7;
    const std::vector<uint8_t> before = bytes(gBackBuffer);
    runNoisePhases(missing);
    ASSERT_EQ(4u + 4 + 4 + 5, world.frames.size());
    for (size_t i = 0; i < 12; ++i) EXPECT_EQ(before, world.frames[i]) << i;
    // Row noise over the back buffer itself, frame after frame.
    for (size_t i = 12; i < world.frames.size(); ++i) EXPECT_NE(world.frames[i - 1], world.frames[i]) << i;
}
