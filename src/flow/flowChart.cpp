#include "flow/flowChart.h"

#include <cstring>

#include "base/flowHooks.h"
#include "base/framePacer.h"
#include "base/input.h"
#include "base/present.h"
#include "flow/flowDrawing.h"
#include "flow/flowRecord.h"
#include "graphics/graphics.h"
#include "graphics/image.h"
#include "graphics/screen.h"
#include "graphics/text/leadByte.h"
#include "graphics/text/textOut.h"

bool flowChartCommand() {
    showFlowChart();
    return true;
}

namespace {
constexpr int kCaptionWidth = 400, kCaptionHeight = 20;

void clearSprite(cSprite& sprite) {
    if (sprite.HasPixels()) std::memset(sprite.pixels, 0, sprite.ByteCount());
}

// The caption from the sprite's left edge, without wrapping. Characters that would start past
// its right edge draw nothing there, so they are not rendered at all: a caption of a hundred
// thousand characters costs no more than one as wide as the sprite.
void drawCaption(cTextOut& pen, cSprite& sprite, const char* text, uint8_t grey) {
    clearSprite(sprite);
    pen.x = 0;
    pen.y = 0;
    pen.colour[0] = pen.colour[1] = pen.colour[2] = grey;
    for (const char* p = text; *p && pen.x < sprite.width;) {
        pen.PutChar(sprite, p, false);
        p += isLeadByte(static_cast<uint8_t>(*p)) && p[1] ? 2 : 1;
    }
}

// The chart with the caption of the grid point under the mouse: a black outline of four copies
// around two white copies.
void drawFrame(const cCanvas& chart, cTextOut& pen, cSprite& caption, int64_t column, int64_t row,
               const vstring& text) {
    gGraphics.CopyScreen(gBackBuffer, chart);
    const int px = static_cast<int>(kFlowGrid * column), py = static_cast<int>(kFlowGrid * row);
    drawCaption(pen, caption, text.c_str(), 0);
    gGraphics.Blt(gBackBuffer, caption, px + 9, py - 16);
    gGraphics.Blt(gBackBuffer, caption, px + 8, py - 15);
    gGraphics.Blt(gBackBuffer, caption, px + 7, py - 16);
    gGraphics.Blt(gBackBuffer, caption, px + 8, py - 17);
    drawCaption(pen, caption, text.c_str(), 255);
    gGraphics.Blt(gBackBuffer, caption, px + 8, py - 16);
    gGraphics.Blt(gBackBuffer, caption, px + 8, py - 16);
}

bool closesChart(uint8_t command) {
    return command == kCmdClick || command == kCmdOk || command == kCmdCancel ||
           command == kRawRightButton;
}
}  // namespace

int32_t showFlowChart() {
    // The scene stays frozen: nothing here composes it anew.
    cCanvas chart;
    chart.CreateScreen();
    chart.FillRgb(0, 0, 0);
    gGraphics.CopyScreen(chart, gNextScreen);
    {
        cSprite base;
        if (base.LoadPng("sys_flow_base.png")) gGraphics.BltOpacity(chart, base, 0, 0, 128);
    }
    buildFlowChart(chart);

    cTextOut pen;
    pen.SetFont(20, 20);
    cSprite caption;
    caption.Create(4, kCaptionWidth, kCaptionHeight);
    gGraphics.CopyScreen(gBackBuffer, chart);
    presentScreen();

    // The chart stands still: a frame is drawn when the grid point under the mouse changes, and
    // the loop waits for input between. A pointer that leaves the window sends no message, so
    // while a caption shows the loop reads the pointer again every frame.
    cFramePacer pacer;
    for (;;) {
        if (!pumpMessages()) {
            clearFlowChapters();
            return 1;
        }
        while (pacer.Poll(kInputScreen, true)) {
            const int64_t column = flowGridPoint(gMousePos.x), row = flowGridPoint(gMousePos.y);
            vstring text;
            getFlowChapter(column, row, text);
            pacer.BeginFrame();
            pacer.Key(static_cast<uint64_t>(column));
            pacer.Key(static_cast<uint64_t>(row));
            if (!text.empty()) pacer.PollEveryFrame();
            pacer.PresentIfDue([&] { drawFrame(chart, pen, caption, column, row, text); });
            if (getCommand() != kCmdNone) break;
        }
        if (closesChart(getCommand())) {
            clearFlowChapters();
            return 0;
        }
        clearCommand();
    }
}
