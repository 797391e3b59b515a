#include "presentation/msgBox.h"

#include <algorithm>
#include <cstring>

#include "base/framePacer.h"
#include "base/moduleOrder.h"
#include "base/configuration.h"
#include "base/uiText.h"
#include "base/settings.h"
#include "graphics/graphics.h"
#include "graphics/text/leadByte.h"
#include "presentation/msgDisplay.h"
#include "presentation/msgSpeakers.h"
#include "presentation/msgTiming.h"

MsgTextArea gMsgTextArea = kWindowTextArea;
cMsgBox gMsgBox MODULE_OBJECT(kOrderMsgBox);

namespace {

// The name plate of the window layout: names are centred on x = 142 at y = 18; an empty name
// clears the alpha of the 300 by 45 plate region.
constexpr int32_t kNamePlateCentre = 142;
constexpr int32_t kNamePlateY = 18;
constexpr int32_t kNamePlateWidth = 300;
constexpr int32_t kNamePlateHeight = 45;

FontSpec msgFontSpec(int32_t weight, UiText face) {
    FontSpec spec;
    spec.height = 24;
    spec.weight = weight;
    spec.charSet = kConfigCharSet;
    spec.face = uiText(face);
    return spec;
}
}  // namespace

MsgCode codeOfText(const char* text) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(text ? text : "");
    if (p[0] && p[1]) return p[0] * 256u + p[1];
    return p[0];
}

int32_t msgPromptFrame(uint32_t now) { return static_cast<int32_t>((now >> 7) & 7); }

uint32_t msgPromptNextFrameAt(uint32_t now) { return ((now >> 7) + 1) << 7; }

void cMsgBox::PaceFrame(cFramePacer& pacer, bool prompt) const {
    pacer.Key(revision);
    pacer.Key((static_cast<uint64_t>(static_cast<uint32_t>(boxX)) << 32) | static_cast<uint32_t>(boxY));
    pacer.Key((static_cast<uint64_t>(static_cast<uint32_t>(penX)) << 32) | static_cast<uint32_t>(penY));
    if (prompt && promptStrip.HasPixels()) {
        pacer.Key(static_cast<uint64_t>(msgPromptFrame(pacer.Now())));
        pacer.DueAt(msgPromptNextFrameAt(pacer.Now()));
    } else {
        pacer.Key(8);  // no prompt drawn
    }
}

cMsgBox::cMsgBox() { buildKinsokuTable(gKinsokuTable, uiText(UiText::KinsokuChars)); }

void cMsgBox::CreateFonts() {
    minchoFont.Create(msgGlyphs(), msgFontSpec(700, UiText::FaceMessageMincho));
    gothicFont.Create(msgGlyphs(), msgFontSpec(400, UiText::FaceMessageGothic));
    nameFont.Create(msgGlyphs(), msgFontSpec(400, UiText::FaceMessageName));
}

void cMsgBox::SetText(const char* text) {
    codes.clear();
    appendMsgCodes(codes, text);
}

void cMsgBox::GetPlainText(vstring& out) const { msgPlainText(codes, out); }

FontHandle cMsgBox::FontOf(MsgFont font) const {
    switch (font) {
        case MsgFont::Mincho: return minchoFont.Handle();
        case MsgFont::Gothic: return gothicFont.Handle();
        default: return nameFont.Handle();
    }
}

bool cMsgBox::RenderGlyph(MsgFont font, MsgCode code, double scale) {
    return msgGlyphs().Render(FontOf(font), code, scale);
}

void cMsgBox::DrawGlyph(int32_t x, int32_t y) {
    cGlyphSource& glyphs = msgGlyphs();
    if (UserSettings.textShadow) glyphs.Blit(textCanvas, x + 1, y + 1, 0, 0, 0);
    glyphs.Blit(textCanvas, x, y, textColour[0], textColour[1], textColour[2]);
}

int32_t cMsgBox::DrawName(const char* name, int32_t x, int32_t y) {
    cGlyphSource& glyphs = msgGlyphs();
    for (const uint8_t* p = reinterpret_cast<const uint8_t*>(name); *p;) {
        MsgCode code = *p++;
        if (isLeadByte(static_cast<uint8_t>(code)) && *p) code = code * 256u + *p++;
        RenderGlyph(MsgFont::Name, code, 1.0);
        DrawGlyph(x, y);
        x += glyphs.AdvanceX();
        y += glyphs.AdvanceY();
    }
    return x;
}

bool cMsgBox::SetSpeaker(const char* name, bool novel) {
    if (!name) return false;
    ++revision;
    speakerColour(textColour[0], textColour[1], textColour[2], name);
    if (novel) {
        gMsgTextArea = kNovelTextArea;
        NewLine();
        if (*name) {
            int32_t x = DrawName(name, penX, penY);
            x = DrawName(uiText(UiText::NovelOpenBracket), x, penY);
            penX = x;
            gMsgTextArea.left = x;
            codes.push_back(codeOfText(uiText(UiText::NovelCloseBracket)));
        }
    } else {
        textCanvas = boxImage;
        gMsgTextArea = kWindowTextArea;
        if (*name) {
            int64_t width = static_cast<int64_t>(std::strlen(name)) * charSize / 4;
            int32_t x = static_cast<int32_t>(std::max<int64_t>(kNamePlateCentre - width, -0x40000000));
            DrawName(name, x, kNamePlateY);
        } else if (textCanvas.HasPixels() && textCanvas.bytesPerPixel == 4) {
            // No speaker: the name plate vanishes (its alpha cleared, within the canvas).
            int32_t w = std::min(kNamePlateWidth, textCanvas.width);
            int32_t h = std::min(kNamePlateHeight, textCanvas.height);
            for (int32_t y = 0; y < h; ++y) {
                uint8_t* row = textCanvas.pixels + static_cast<int64_t>(y) * textCanvas.width * 4;
                for (int32_t x = 0; x < w; ++x) row[x * 4] = 0;
            }
        }
    }
    nextCode = 0;
    units = 0;
    speedStep = 2;
    if (!novel) {
        penX = gMsgTextArea.left;
        penY = gMsgTextArea.top;
    }
    SetRubyAnchor();
    lastClass = 0;
    rubyBase = rubyText = noDelay = emphasis = 0;
    rubyCodes.clear();
    return true;
}

bool cMsgBox::DrawUpTo(int32_t target) {
    for (;;) {
        if (target >= 0 && target <= units) return true;
        if (nextCode < 0 || static_cast<size_t>(nextCode) >= codes.size()) {
            codes.clear();
            nextCode = 0;
            rubyCodes.clear();
            return false;
        }
        MsgCode code = codes[static_cast<size_t>(nextCode++)];
        ++revision;
        switch (code) {
            case kMsgPause: units += 40; continue;
            case kMsgNewLine: NewLine(); continue;
            case kMsgFaster: speedStep = std::min(speedStep + 1, 4); continue;
            case kMsgSlower: speedStep = std::max(speedStep - 1, 0); continue;
            case kMsgRubyBase:
                rubyBase = 1;
                SetRubyAnchor();
                continue;
            case kMsgRubyOn: rubyText = 1; continue;
            case kMsgRubyOff: rubyText = 0; continue;
            case kMsgEmphasisOn: emphasis = 1; continue;
            case kMsgEmphasisOff: emphasis = 0; continue;
            case kMsgNoDelayOn: noDelay = 1; continue;
            case kMsgNoDelayOff: noDelay = 0; continue;
            default: break;
        }
        if (rubyText) {
            rubyBase = 0;
            rubyCodes.push_back(code);
            continue;
        }
        if (!rubyCodes.empty()) {
            int32_t share = static_cast<int32_t>((static_cast<int64_t>(penX) - rubyX) /
                                                 static_cast<int64_t>(rubyCodes.size()));
            for (MsgCode ruby : rubyCodes) PutRubyChar(ruby, share);
            rubyCodes.clear();
        }
        if (!noDelay) units += unitCost(speedStep);
        PutChar(code);
        if (emphasis) PutEmphasisDot();
    }
}

void cMsgBox::NewLine() {
    penX = gMsgTextArea.left;
    penY += linePitch;
}

void cMsgBox::SetRubyAnchor() {
    rubyX = penX;
    rubyY = penY - charSize / 2;
}

void cMsgBox::PutChar(MsgCode code) {
    if (code == 0) return;
    if (!isKinsokuChar(code) && static_cast<int64_t>(penX) + charSize > gMsgTextArea.right) NewLine();
    uint8_t cls = charClass(code);
    if (!rubyBase && cls != lastClass) SetRubyAnchor();
    lastClass = cls;

    MsgFont font;
    switch (UserSettings.font) {
        case 1: font = MsgFont::Mincho; break;
        case 2: font = MsgFont::Gothic; break;
        default: font = cls == 1 ? MsgFont::Mincho : MsgFont::Gothic; break;
    }
    RenderGlyph(font, code, 1.0);
    DrawGlyph(penX, penY);
    int32_t before = penX;
    penX += msgGlyphs().AdvanceX();
    penY += msgGlyphs().AdvanceY();
    dotX = (before + penX - charSize) / 2;
    dotY = penY - charSize + charSize / 4;
}

void cMsgBox::PutRubyChar(MsgCode code, int32_t share) {
    RenderGlyph(MsgFont::Gothic, code, 0.5);
    int32_t advance = msgGlyphs().AdvanceX();
    share = std::max(share - advance, 0);
    int32_t before = share / 2;
    int32_t after = share - before;
    rubyX += before;
    DrawGlyph(rubyX, rubyY);
    rubyX += advance + after;
    rubyY += msgGlyphs().AdvanceY();
}

void cMsgBox::PutEmphasisDot() {
    RenderGlyph(MsgFont::Name, codeOfText(uiText(UiText::EmphasisDot)), 1.0);
    DrawGlyph(dotX, dotY);
}

void cMsgBox::Clear() {
    ++revision;
    uint64_t bytes = textCanvas.ByteCount();
    if (textCanvas.HasPixels() && bytes > 0) std::memset(textCanvas.pixels, 0, static_cast<size_t>(bytes));
    if (MsgWindowMode == kModeNovel) {
        gMsgTextArea = kNovelTextArea;
        gGraphics.FillRectAlpha(textCanvas, Rgb{0, 0, 0}, 0, 0, kNovelCanvasWidth, kNovelCanvasHeight, 127);
    } else {
        gMsgTextArea = kWindowTextArea;
    }
    penX = gMsgTextArea.left;
    penY = gMsgTextArea.top;
}
