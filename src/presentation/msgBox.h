// The message window: one message of scenario text typed out with ruby readings and emphasis dots,
// line breaking with the characters that may not begin a line, the speaker's name plate, the box
// picture with its clock and the animated click prompt. Two layouts: the window layout (a box at
// the bottom of the screen) and the novel layout (text over the whole 800 by 600 screen).
//
// Glyphs are rendered and drawn through msgGlyphs() (graphics/text/glyphSource.h): the typing and
// the layout depend only on the advances it reports.
#pragma once
#include <cstdint>
#include <vector>

#include "graphics/image.h"
#include "graphics/text/glyphSource.h"
#include "presentation/msgCode.h"

struct MsgTextArea {
    int32_t left, top, right, bottom;  // the bottom is never tested
};
constexpr MsgTextArea kWindowTextArea = {80, 70, 640, 180};
constexpr MsgTextArea kNovelTextArea = {80, 0, 720, 730};
// The text canvas of the novel layouts.
constexpr int32_t kNovelCanvasWidth = 800;
constexpr int32_t kNovelCanvasHeight = 600;
// The current text area, in text-canvas coordinates.
extern MsgTextArea gMsgTextArea;

enum class MsgFont : uint8_t { Mincho, Gothic, Name };

class cFramePacer;

// The click prompt: eight frames, a new one every 128 ms of the clock.
int32_t msgPromptFrame(uint32_t now);
// The clock time of the prompt's next frame after now.
uint32_t msgPromptNextFrameAt(uint32_t now);

class cMsgBox {
public:
    cMsgBox();
    cMsgBox(const cMsgBox&) = delete;
    cMsgBox& operator=(const cMsgBox&) = delete;
    ~cMsgBox() = default;

    // The three fonts through msgGlyphs(): the Mincho font, then the Gothic font, then the name
    // font. Made at start-up rather than in static construction, when the platform is not up yet.
    void CreateFonts();

    void SetText(const char* text);
    void GetPlainText(vstring& out) const;
    // Colour, name plate and pen for a new message; false only for a null name. After SetText (the
    // novel layout may append the closing bracket).
    bool SetSpeaker(const char* name, bool novel);
    // Types until the unit counter reaches the target (negative: everything); true while codes
    // remain, false once the message is complete.
    bool DrawUpTo(int32_t target);
    // The text canvas onto gBackBuffer at the box position, and the prompt when asked.
    bool Draw(bool prompt);
    // The message window's part of a waiting loop's frame (see base/framePacer.h): what Draw with
    // that prompt flag would show, and when the prompt's frame changes.
    void PaceFrame(cFramePacer& pacer, bool prompt) const;
    // New page.
    void Clear();
    void SetNovelLayout(bool novel);
    // Rebuilds the box picture from the scenario's progress variables (with the face when asked).
    void LoadBoxImages(bool face);

    void NewLine();
    void PutChar(MsgCode code);
    void PutRubyChar(MsgCode code, int32_t share);
    void PutEmphasisDot();
    void SetRubyAnchor();

    cSprite boxImage;
    cSprite textCanvas;
    cSprite promptStrip;
    cFont gothicFont;
    cFont minchoFont;
    cFont nameFont;
    uint8_t textColour[3] = {255, 255, 255};
    int32_t charSize = 24;
    int32_t linePitch = 40;
    int32_t boxX = 0, boxY = 400;
    std::vector<MsgCode> codes;
    int32_t nextCode = 0;
    int32_t units = 0;
    int32_t speedStep = 2;
    int32_t penX = 0, penY = 0;
    int32_t rubyX = 0, rubyY = 0;
    int32_t dotX = 0, dotY = 0;
    uint8_t lastClass = 0;
    uint8_t rubyBase = 0, rubyText = 0, noDelay = 0, emphasis = 0;
    // Counts the changes of what Draw shows (text canvas, pen, box, prompt strip), so that a waiting
    // loop knows when its frame is unchanged.
    uint32_t revision = 0;
    // The reading collected for the next base character. It survives between calls of DrawUpTo,
    // so where typing pauses never decides whether a reading shows.
    std::vector<MsgCode> rubyCodes;

private:
    // Renders one glyph; false when nothing was rendered.
    bool RenderGlyph(MsgFont font, MsgCode code, double scale);
    // Draws the rendered glyph at (x, y): its shadow first when the settings ask for it.
    void DrawGlyph(int32_t x, int32_t y);
    // Draws a string with the name font from (x, y); returns the x after it.
    int32_t DrawName(const char* name, int32_t x, int32_t y);
    FontHandle FontOf(MsgFont font) const;
};

extern cMsgBox gMsgBox;

// The double-byte code of a two-byte text (a single byte: itself).
MsgCode codeOfText(const char* text);
