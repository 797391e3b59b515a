#include "graphics/text/glyphSource.h"

namespace {
class cNullGlyphSource : public cGlyphSource {
public:
    FontHandle MakeFont(const FontSpec&) override { return nullptr; }
    void FreeFont(FontHandle) override {}
    bool Render(FontHandle, uint32_t, double) override { return false; }
    int32_t AdvanceX() const override { return 0; }
    int32_t AdvanceY() const override { return 0; }
    bool Blit(cImage&, int32_t, int32_t, uint8_t, uint8_t, uint8_t) override { return true; }
};

cGlyphSource* gTextGlyphs = nullptr;
cGlyphSource* gMsgGlyphs = nullptr;
}  // namespace

cGlyphSource& nullGlyphSource() {
    static cNullGlyphSource source;
    return source;
}

cGlyphSource& textGlyphs() { return gTextGlyphs ? *gTextGlyphs : nullGlyphSource(); }
cGlyphSource& msgGlyphs() { return gMsgGlyphs ? *gMsgGlyphs : nullGlyphSource(); }
void setTextGlyphs(cGlyphSource* source) { gTextGlyphs = source; }
void setMsgGlyphs(cGlyphSource* source) { gMsgGlyphs = source; }

bool cFont::Create(cGlyphSource& source, const FontSpec& spec) {
    Reset();
    m_handle = source.MakeFont(spec);
    if (m_handle) m_source = &source;
    return m_handle != nullptr;
}

void cFont::Reset() {
    if (m_handle && m_source) m_source->FreeFont(m_handle);
    m_handle = nullptr;
    m_source = nullptr;
}
