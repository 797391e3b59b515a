// The rasteriser behind every text layout, as an interface: the program renders through GDI
// (graphics/text/charImage.h); tests put fixed advances in its place, so layout and typing are
// deterministic functions of the advances.
#pragma once
#include <cstdint>

class cImage;

// A font of a glyph source (an HFONT under GDI); null when none.
using FontHandle = void*;

// What a font is made from (the remaining LOGFONT fields are 0, output precision OUT_TT_PRECIS,
// quality PROOF_QUALITY).
struct FontSpec {
    int32_t height = 0;
    int32_t weight = 400;
    uint8_t charSet = 0;
    uint8_t pitchAndFamily = 0;
    const char* face = "";
};

class cGlyphSource {
public:
    virtual ~cGlyphSource() = default;
    // Null when no font could be made.
    virtual FontHandle MakeFont(const FontSpec& spec) = 0;
    virtual void FreeFont(FontHandle font) = 0;
    // Renders one character (a byte, or lead byte x 256 + trail byte) at scale times the font's
    // size. On failure the last glyph is forgotten: nothing is drawn and the advances are 0.
    virtual bool Render(FontHandle font, uint32_t code, double scale) = 0;
    // Pen movement after the last rendered character.
    virtual int32_t AdvanceX() const = 0;
    virtual int32_t AdvanceY() const = 0;
    // Blends the last rendered character in the colour into the image, its cell's top-left at (x, y).
    virtual bool Blit(cImage& image, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) = 0;
};

// A source that makes no fonts and draws nothing (the sources' state before start-up sets them).
cGlyphSource& nullGlyphSource();

// The source of the text pens (the shared rasteriser) and the message window's own.
cGlyphSource& textGlyphs();
cGlyphSource& msgGlyphs();
// Installs a source (nullptr: the null source). The program installs the system's at start-up.
void setTextGlyphs(cGlyphSource* source);
void setMsgGlyphs(cGlyphSource* source);

// A font owned together with the source that made it.
class cFont {
public:
    cFont() = default;
    cFont(const cFont&) = delete;
    cFont& operator=(const cFont&) = delete;
    ~cFont() { Reset(); }

    // Frees the old font, then makes one; false when none was made.
    bool Create(cGlyphSource& source, const FontSpec& spec);
    void Reset();
    FontHandle Handle() const { return m_handle; }

    uint32_t flags = 0;  // cleared by the text pen with each new font

private:
    FontHandle m_handle = nullptr;
    cGlyphSource* m_source = nullptr;
};
