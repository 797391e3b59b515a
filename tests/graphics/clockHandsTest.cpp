// The message window's clock: its two hands turned into the box by the flag totals, about (715, 105)
// of the box and (80, 80) of each hand picture.
#include <windows.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "../files/winTempFolder.h"
#include "base/moduleState.h"
#include "base/uiText.h"
#include "files/archiveIndex.h"
#include "png/pngBuilder.h"
#include "presentation/msgBox.h"
#include "scenario/variableStore.h"
#include "testing.h"

namespace {

Bytes png(int w, int h, int colourType, const Bytes& raw, int bpp) {
    PngParts p;
    p.header = ihdr(w, h, colourType);
    p.stream = zlibCompress(filterRows(raw, w, h, bpp, {0}));
    return buildPng(p);
}

// A 160 x 160 hand: transparent but for a bar of the colour from the pivot (80, 80) to (119, 80).
Bytes hand(uint8_t r, uint8_t g, uint8_t b) {
    Bytes raw(160 * 160 * 4, 0);
    for (int x = 80; x < 120; ++x) {
        uint8_t* p = &raw[(80 * 160 + x) * 4];
        p[0] = r, p[1] = g, p[2] = b, p[3] = 255;
    }
    return png(160, 160, 6, raw, 4);
}

struct ClockHands : ::testing::Test {
    TempFolder temp;
    std::string data = temp / "data\\";
    void SetUp() override {
        resetEngineState();
        TempFolder::makeFolder(data);
        TempFolder::makeFolder(data + "img");
        ASSERT_TRUE(setDataFolder(data.c_str()));
        gArchiveIndex.clear();
        ASSERT_TRUE(TempFolder::writeFile(data + "img\\sys_box_base.png",
                                          png(800, 200, 2, Bytes(800 * 200 * 3, 40), 3)));
        ASSERT_TRUE(TempFolder::writeFile(data + "img\\sys_box_clock_a.png", hand(255, 0, 0)));
        ASSERT_TRUE(TempFolder::writeFile(data + "img\\sys_box_clock_b.png", hand(0, 0, 255)));
        setVariableName(VariableKind::Local, 0, uiText(UiText::VarScenarioProgress));
        setVariableName(VariableKind::Local, 1, uiText(UiText::VarMFlagTotal));
        setVariableName(VariableKind::Local, 2, uiText(UiText::VarLFlagTotal));
    }
    void TearDown() override {
        gMsgBox.boxImage.Release();
        resetEngineState();
    }
    // The colour of box pixel (x, y) as red, green, blue.
    std::vector<int> at(int x, int y) {
        const cSprite& box = gMsgBox.boxImage;
        const uint8_t* p = box.pixels + (y * box.width + x) * box.bytesPerPixel;
        return {p[2], p[1], p[0]};
    }
};

}  // namespace

TEST_F(ClockHands, HandsPointWhereTheirTurnsPutThem) {
    setVariable(uiText(UiText::VarScenarioProgress), 2);
    setVariable(uiText(UiText::VarMFlagTotal), 7);  // 7 / 14: half a turn, the bar points left
    setVariable(uiText(UiText::VarLFlagTotal), 4);  // 4 / 16: a quarter, the bar points up
    gMsgBox.LoadBoxImages(true);
    ASSERT_TRUE(gMsgBox.boxImage.HasPixels());
    ASSERT_EQ(3, gMsgBox.boxImage.bytesPerPixel);
    const std::vector<int> red = {255, 0, 0}, blue = {0, 0, 255}, base = {40, 40, 40};
    for (int k = 1; k < 40; ++k) {
        EXPECT_EQ(red, at(715 - k, 105)) << k;
        EXPECT_EQ(blue, at(715, 105 - k)) << k;
        EXPECT_EQ(base, at(715 + k, 105)) << k;
        EXPECT_EQ(base, at(715, 105 + k)) << k;
    }
    EXPECT_EQ(blue, at(715, 105));  // hand B is drawn last
    EXPECT_EQ(base, at(715 - 41, 105));
    EXPECT_EQ(base, at(715, 105 - 41));
}

TEST_F(ClockHands, AnyTurnFollowsTheSamplingFormula) {
    setVariable(uiText(UiText::VarScenarioProgress), 1);
    setVariable(uiText(UiText::VarMFlagTotal), 3);
    setVariable(uiText(UiText::VarLFlagTotal), 0);  // hand B covers hand A where both lie
    gMsgBox.LoadBoxImages(false);
    ASSERT_TRUE(gMsgBox.boxImage.HasPixels());
    // Hand A: A = trunc(sin(3 / 14 turns) x 1024), B likewise from the cosine; box pixel (i, j)
    // samples hand pixel ((U0 + i B - j A) >> 10, (V0 + i A + j B) >> 10).
    const double angle = 3.0 / 14.0 * 2 * 3.141592653589793;
    const int a = int(std::sin(angle) * 1024), b = int(std::cos(angle) * 1024);
    const int u0 = 105 * a - 715 * b + 80 * 1024, v0 = -715 * a - 105 * b + 80 * 1024;
    int drawn = 0;
    for (int j = 0; j < 200; ++j)
        for (int i = 600; i < 800; ++i) {
            const int px = (u0 + i * b - j * a) >> 10, py = (v0 + i * a + j * b) >> 10;
            const bool onA = py == 80 && px >= 80 && px < 120;
            const bool onB = j == 105 && i >= 715 && i < 755;  // no turn: the bar points right
            const std::vector<int> want = onB ? std::vector<int>{0, 0, 255}
                                              : onA ? std::vector<int>{255, 0, 0} : std::vector<int>{40, 40, 40};
            ASSERT_EQ(want, at(i, j)) << i << "," << j;
            drawn += onA && !onB;
        }
    EXPECT_GT(drawn, 30);
}
