// The message window's pictures: layouts, the box with its clock, drawing onto the back buffer.
#include "presentation/msgBox.h"

#include <cstring>

#include "base/clock.h"
#include "base/uiText.h"
#include "graphics/graphics.h"
#include "graphics/rotatedBlit.h"
#include "graphics/screen.h"
#include "scenario/variableStore.h"

namespace {
constexpr int32_t kPromptSize = 24;

// The clock of the box: two hands turned about (715, 105) by the flag totals, then the face.
constexpr int32_t kClockPivotX = 715;
constexpr int32_t kClockPivotY = 105;
constexpr int32_t kHandPivot = 80;
constexpr int32_t kClockFaceX = 630;
constexpr int32_t kClockFaceY = 0;

void drawHand(cSprite& box, const char* file, int32_t value, double unitsPerTurn) {
    cSprite hand;
    if (!hand.LoadPng(file)) return;
    bltRotated(box, hand, kClockPivotX, kClockPivotY, kHandPivot, kHandPivot,
               static_cast<double>(value) / unitsPerTurn, 1.0);
}
}  // namespace

bool cMsgBox::Draw(bool prompt) {
    bool ok = gGraphics.Blt(gBackBuffer, textCanvas, boxX, boxY);
    if (prompt) {
        int32_t frame = msgPromptFrame(currentTimeMs());
        gGraphics.BltRect(gBackBuffer, promptStrip, boxX + penX, boxY + penY, kPromptSize, kPromptSize, 0,
                          kPromptSize * frame);
    }
    return ok;
}

void cMsgBox::SetNovelLayout(bool novel) {
    ++revision;
    promptStrip.LoadPng("sys_box_prompt.png");
    charSize = 24;
    linePitch = 40;
    if (novel) {
        boxX = 0;
        boxY = 0;
        if (textCanvas.Create(4, kNovelCanvasWidth, kNovelCanvasHeight))
            std::memset(textCanvas.pixels, 0, static_cast<size_t>(textCanvas.ByteCount()));
    } else {
        boxX = 0;
        boxY = 400;
        LoadBoxImages(true);
    }
}

void cMsgBox::LoadBoxImages(bool face) {
    ++revision;
    boxImage.Release();
    int32_t v = getVariable(uiText(UiText::VarScenarioProgress));
    if (v == 0) {
        boxImage.LoadPng("sys_box_normal.png");
    } else if (v >= 1 && v <= 3) {
        boxImage.LoadPng("sys_box_base.png");
        drawHand(boxImage, "sys_box_clock_a.png", getVariable(uiText(UiText::VarMFlagTotal)), 14.0);
        drawHand(boxImage, "sys_box_clock_b.png", getVariable(uiText(UiText::VarLFlagTotal)), 16.0);
        if (face) {
            static const char* const kFaces[3] = {"sys_box_clock1.png", "sys_box_clock2.png",
                                                  "sys_box_clock3.png"};
            cSprite clockFace;
            if (clockFace.LoadPng(kFaces[v - 1])) gGraphics.Blt(boxImage, clockFace, kClockFaceX, kClockFaceY);
        }
    } else {
        boxImage.LoadPng("sys_box_noclock.png");
    }
}
