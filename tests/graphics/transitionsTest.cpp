// The transition kernels: both cross-fade formulas, the brightness scaling and the two wipe steps,
// as byte tables, at canvas tails and sizes, and the vector forms against the formulas over every
// input.
#include <cstring>
#include <random>
#include <vector>

#include "base/moduleState.h"
#include "config/registry.h"
#include "config/systemInfo.h"
#include "files/textBuf.h"
#include "graphics/image.h"
#include "graphics/screen.h"
#include "graphics/transitionKernels.h"
#include "graphics/transitions.h"
#include "screenSizeGuard.h"
#include "testing.h"

namespace {

// A w x h canvas of bpp bytes per pixel with every byte v.
struct Canvas {
    cCanvas c;
    Canvas(int w, int h, uint8_t v, int bpp = 3) {
        c.Create(static_cast<uint8_t>(bpp), w, h);
        std::memset(c.pixels, v, static_cast<size_t>(c.ByteCount()));
    }
    uint8_t& operator[](size_t i) { return c.pixels[i]; }
};

// EnableMMX in the configuration (this processor has MMX), or not.
void setMmx(bool on) {
    const int w = gScreenWidth, h = gScreenHeight;
    gConfigRegistry.clear();
    cTextBuf file;
    file.SetText(on ? "[System.Option]\r\nEnableMMX=on\r\n" : "[System.Option]\r\n");
    mSystemParam::parseConfigFile(file);
    loadSystemInfo();
    gScreenWidth = w, gScreenHeight = h;
}

class Transitions : public ::testing::Test {
protected:
    void SetUp() override { resetEngineState(); }
    void TearDown() override { resetEngineState(); }
};

// The first frame fades from gNextScreen before anything composed it: the canvases start black,
// also in memory that held a picture before.
TEST_F(Transitions, ScreenCanvasesStartBlack) {
    ScreenSize screen(16, 12);
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(createScreenCanvases());
        for (cCanvas* c : {&gBackBuffer, &gNextScreen, &gPrevScreen}) {
            for (uint64_t i = 0; i < c->ByteCount(); ++i) ASSERT_EQ(0, c->pixels[i]) << round;
            std::memset(c->pixels, 0x55, static_cast<size_t>(c->ByteCount()));
            c->Release();
        }
    }
}

struct FadeCase {
    uint8_t next, prev;
    uint32_t t;
    uint8_t plain, mmx;
};
const FadeCase kFadeCases[] = {
    {200, 200, 0, 199, 200},   {200, 200, 128, 199, 200}, {200, 200, 255, 199, 200},
    {200, 200, 300, 199, 200}, {255, 255, 0, 254, 255},   {255, 255, 128, 254, 255},
    {255, 255, 255, 254, 255}, {255, 255, 300, 254, 255}, {255, 0, 0, 0, 0},
    {255, 0, 128, 127, 127},   {255, 0, 255, 254, 254},   {255, 0, 300, 254, 254},
    {0, 255, 0, 254, 255},     {0, 255, 128, 126, 127},   {0, 255, 255, 0, 0},
};

TEST_F(Transitions, CrossFadeByteTableOnBothPaths) {
    ScreenSize screen(8, 2);
    for (const FadeCase& k : kFadeCases) {
        Canvas dst(8, 2, 7), next(8, 2, k.next), prev(8, 2, k.prev);
        for (bool mmx : {false, true}) {
            setMmx(mmx);
            ASSERT_EQ(mmx, isMMXEnabled());
            crossFade(dst.c, next.c, prev.c, k.t);
            const uint8_t want = mmx ? k.mmx : k.plain;
            for (size_t i = 0; i < 48; ++i)
                ASSERT_EQ(want, dst[i]) << "next " << int(k.next) << " prev " << int(k.prev)
                                        << " t " << k.t << " mmx " << mmx << " byte " << i;
            std::memset(dst.c.pixels, 7, 48);
            crossFadeMmx(dst.c, next.c, prev.c, k.t);
            EXPECT_EQ(k.mmx, dst[47]);
        }
    }
}

TEST_F(Transitions, ScaleBrightnessLevels) {
    ScreenSize screen(4, 1);
    struct {
        uint32_t level;
        uint8_t from255, from200, from1;
    } cases[] = {{127, 126, 99, 0}, {128, 127, 100, 0}, {300, 254, 199, 0}, {0, 0, 0, 0}};
    for (auto k : cases) {
        Canvas src(4, 1, 0), dst(4, 1, 9);
        src[0] = 255, src[1] = 200, src[2] = 1;
        scaleBrightness(dst.c, src.c, k.level);
        EXPECT_EQ(k.from255, dst[0]) << k.level;
        EXPECT_EQ(k.from200, dst[1]) << k.level;
        EXPECT_EQ(k.from1, dst[2]) << k.level;
        // In place too.
        scaleBrightness(src.c, src.c, k.level);
        EXPECT_EQ(k.from200, src[1]);
    }
}

// Every byte of a 3 x 1 screen (9 bytes: no whole 8-byte step after the first, no whole 4-byte word
// after the second) follows the formula.
TEST_F(Transitions, TailBytesFollowTheFormula) {
    ScreenSize screen(3, 1);
    for (bool mmx : {false, true}) {
        setMmx(mmx);
        Canvas dst(3, 1, 1), next(3, 1, 255), prev(3, 1, 0);
        crossFade(dst.c, next.c, prev.c, 128);
        for (size_t i = 0; i < 9; ++i) EXPECT_EQ(127, dst[i]) << i;
        Canvas same(3, 1, 200);
        crossFade(dst.c, same.c, same.c, 10);
        for (size_t i = 0; i < 9; ++i) EXPECT_EQ(mmx ? 200 : 199, dst[i]) << i;
    }
    Canvas dst(3, 1, 1), src(3, 1, 200);
    scaleBrightness(dst.c, src.c, 128);
    for (size_t i = 0; i < 9; ++i) EXPECT_EQ(100, dst[i]) << i;
}

// The kernels stop at the end of the smallest canvas, and do nothing with one without pixels.
TEST_F(Transitions, BoundedByEveryCanvas) {
    ScreenSize screen(4, 1);
    Canvas dst(4, 1, 9), next(2, 1, 255), prev(4, 1, 255);
    crossFade(dst.c, next.c, prev.c, 255);
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(254, dst[i]);
    for (size_t i = 6; i < 12; ++i) EXPECT_EQ(9, dst[i]) << i;

    Canvas small(1, 1, 9);
    crossFadeMmx(small.c, next.c, prev.c, 100);
    EXPECT_EQ(255, small[2]);
    scaleBrightness(dst.c, small.c, 128);
    EXPECT_EQ(127, dst[2]);
    EXPECT_EQ(254, dst[3]);

    cCanvas none;
    crossFade(dst.c, none, prev.c, 0);
    crossFade(none, next.c, prev.c, 0);
    scaleBrightness(dst.c, none, 0);
    EXPECT_EQ(254, dst[3]);

    // A wipe step covers the screen's pixels that every canvas and the rule hold.
    Canvas wdst(4, 1, 0), wnext(4, 1, 50), rule(2, 1, 0, 1);
    maskWipeHardStep(wdst.c, wnext.c, rule.c, 1024);
    EXPECT_EQ(50, wdst[5]);
    EXPECT_EQ(0, wdst[6]);
    Canvas wprev(3, 1, 90), wide(8, 1, 0, 1);
    maskWipeSoftStep(wdst.c, wnext.c, wprev.c, wide.c, 0);
    EXPECT_EQ(90, wdst[8]);
    EXPECT_EQ(0, wdst[9]);
    // Wrong formats draw nothing.
    Canvas four(4, 1, 0, 4);
    maskWipeHardStep(four.c, wnext.c, wide.c, 1024);
    maskWipeHardStep(wdst.c, wnext.c, four.c, 1024);
    EXPECT_EQ(0, four[0]);
    EXPECT_EQ(0, wdst[9]);
}

TEST_F(Transitions, HardStepTable) {
    ScreenSize screen(3, 1);
    struct {
        int32_t p;
        bool r0, r128, r255;
    } cases[] = {{0, false, false, false},   {3, false, false, false},  {4, true, false, false},
                 {1023, true, true, false},  {1024, true, true, true},  {-4, false, false, false},
                 {5000, true, true, true}};
    for (auto k : cases) {
        Canvas dst(3, 1, 10), next(3, 1, 200), rule(3, 1, 0, 1);
        rule[0] = 0, rule[1] = 128, rule[2] = 255;
        maskWipeHardStep(dst.c, next.c, rule.c, k.p);
        const bool changed[] = {k.r0, k.r128, k.r255};
        for (int px = 0; px < 3; ++px)
            for (int b = 0; b < 3; ++b)
                EXPECT_EQ(changed[px] ? 200 : 10, dst[px * 3 + b]) << "p " << k.p << " px " << px;
    }
}

TEST_F(Transitions, SoftStepTable) {
    ScreenSize screen(3, 1);
    struct {
        int32_t p;
        int r0, r128, r255;  // the bytes for next 255 over prev 0
    } cases[] = {{0, 0, 0, 0}, {1, 0, 0, 0}, {512, 255, 127, 0}, {513, 255, 127, 0},
                 {1024, 255, 255, 255}};
    for (auto k : cases) {
        Canvas dst(3, 1, 7), next(3, 1, 255), prev(3, 1, 0), rule(3, 1, 0, 1);
        rule[0] = 0, rule[1] = 128, rule[2] = 255;
        maskWipeSoftStep(dst.c, next.c, prev.c, rule.c, k.p);
        const int want[] = {k.r0, k.r128, k.r255};
        for (int px = 0; px < 3; ++px)
            for (int b = 0; b < 3; ++b)
                EXPECT_EQ(want[px], dst[px * 3 + b]) << "p " << k.p << " px " << px;
    }
    // Rule 128 at p = 512 the other way round: 0 over 255 gives 128.
    Canvas dst(3, 1, 7), next(3, 1, 0), prev(3, 1, 255), rule(3, 1, 128, 1);
    maskWipeSoftStep(dst.c, next.c, prev.c, rule.c, 512);
    EXPECT_EQ(128, dst[4]);
}

// The vector forms at each instruction width (AVX2, SSE, none) allowed for one test.
struct VectorLimit {
    explicit VectorLimit(int level) { limitTransitionVectors(level); }
    ~VectorLimit() { limitTransitionVectors(2); }
};
const int kLevels[] = {2, 1, 0};

// The vector forms against the formulas over every (next, prev, weight) triple.
TEST_F(Transitions, VectorFadesMatchTheFormulaForEveryTriple) {
    const size_t n = 65536 + 13;  // a tail after the last whole vector
    std::vector<uint8_t> next(n), prev(n), want(n), got(n);
    for (size_t i = 0; i < n; ++i) next[i] = uint8_t(i), prev[i] = uint8_t(i >> 8);
    for (int level : kLevels) {
        VectorLimit limit(level);
        for (uint32_t t = 0; t <= 256; ++t) {
            crossFadeScalar(want.data(), next.data(), prev.data(), n, t);
            crossFadeVector(got.data(), next.data(), prev.data(), n, t);
            ASSERT_EQ(want, got) << "plain t " << t << " level " << level;
            crossFadeMmxScalar(want.data(), next.data(), prev.data(), n, t);
            crossFadeMmxVector(got.data(), next.data(), prev.data(), n, t);
            ASSERT_EQ(want, got) << "mmx t " << t << " level " << level;
            scaleBrightnessScalar(want.data(), next.data(), n, t);
            scaleBrightnessVector(got.data(), next.data(), n, t);
            ASSERT_EQ(want, got) << "brightness " << t << " level " << level;
        }
    }
    // The formulas themselves, for a few bytes.
    crossFadeScalar(got.data(), next.data(), prev.data(), n, 77);
    EXPECT_EQ((200 * 77 + 3 * 178) >> 8, got[3 * 256 + 200]);
    crossFadeMmxScalar(got.data(), next.data(), prev.data(), n, 77);
    EXPECT_EQ((200 * 77 + 3 * 179) >> 8, got[3 * 256 + 200]);
}

TEST_F(Transitions, VectorWipeStepsMatchTheFormula) {
    // Soft: at p = 512 the weight is the rule value; pixel j holds (j & 255, j >> 8) in its first
    // byte and the swapped pair in its second, so each weight meets every pair.
    const size_t pixels = 65536 + 7;
    std::vector<uint8_t> next(pixels * 3), prev(pixels * 3), rule(pixels), mixed(pixels);
    for (size_t j = 0; j < pixels; ++j) {
        next[j * 3] = uint8_t(j), prev[j * 3] = uint8_t(j >> 8);
        next[j * 3 + 1] = uint8_t(j >> 8), prev[j * 3 + 1] = uint8_t(j);
        next[j * 3 + 2] = uint8_t(j * 7), prev[j * 3 + 2] = uint8_t(j * 13);
    }
    std::mt19937 random(1313);
    for (uint8_t& r : mixed) r = uint8_t(random());
    std::vector<uint8_t> want(pixels * 3), got(pixels * 3);
    for (int level : kLevels) {
        VectorLimit limit(level);
        for (int w = 0; w < 256; ++w) {
            std::fill(rule.begin(), rule.end(), uint8_t(w));
            wipeSoftScalar(want.data(), next.data(), prev.data(), rule.data(), pixels, 512);
            wipeSoftVector(got.data(), next.data(), prev.data(), rule.data(), pixels, 512);
            ASSERT_EQ(want, got) << "weight " << w << " level " << level;
        }
        // Every progress value with mixed rules, soft and hard.
        for (int32_t p = -8; p <= 1040; ++p) {
            wipeSoftScalar(want.data(), next.data(), prev.data(), mixed.data(), 1003, p);
            wipeSoftVector(got.data(), next.data(), prev.data(), mixed.data(), 1003, p);
            ASSERT_EQ(want, got) << "soft p " << p << " level " << level;
            std::copy(prev.begin(), prev.end(), want.begin());
            std::copy(prev.begin(), prev.end(), got.begin());
            wipeHardScalar(want.data(), next.data(), mixed.data(), 1003, p);
            wipeHardVector(got.data(), next.data(), mixed.data(), 1003, p);
            ASSERT_EQ(want, got) << "hard p " << p << " level " << level;
        }
        for (int32_t p : {INT32_MIN, INT32_MAX, -100000, 100000}) {
            wipeSoftScalar(want.data(), next.data(), prev.data(), mixed.data(), 100, p);
            wipeSoftVector(got.data(), next.data(), prev.data(), mixed.data(), 100, p);
            EXPECT_TRUE(std::equal(want.begin(), want.begin() + 300, got.begin())) << p;
        }
    }
}

}  // namespace
