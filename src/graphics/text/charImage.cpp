#include "graphics/text/charImage.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "base/moduleOrder.h"
#include "graphics/text/leadByte.h"

cCharImage gCharImage MODULE_OBJECT(kOrderCharImage);

cCharImage::~cCharImage() {
    if (m_dc) DeleteDC(m_dc);
    m_dc = nullptr;
}

void cCharImage::Forget() {
    originX = originY = 0;
    coverageWidth = coverageHeight = 0;
    advanceX = advanceY = 0;
}

bool cCharImage::Render(HFONT__* font, uint32_t code, double scale) {
    // The device context is made on first use: module objects are built before the platform is
    // fully up.
    if (!m_dc) m_dc = CreateCompatibleDC(nullptr);
    if (!m_dc || !font || code == 0) {
        Forget();
        return false;
    }
    HGDIOBJ previous = SelectObject(m_dc, font);
    TEXTMETRICA metrics;
    std::memset(&metrics, 0, sizeof metrics);
    GetTextMetricsA(m_dc, &metrics);
    bool ok = Rasterize(code, scale, metrics.tmWeight > 400);
    SelectObject(m_dc, previous);
    if (!ok) {
        Forget();
        return false;
    }
    if (vertical)
        originX = static_cast<int32_t>(metrics.tmDescent * scale + originX);
    else
        originY = static_cast<int32_t>(metrics.tmAscent * scale - originY);
    return true;
}

bool cCharImage::Rasterize(uint32_t code, double scale, bool bold) {
    MAT2 matrix;
    std::memset(&matrix, 0, sizeof matrix);
    int32_t fixed = static_cast<int32_t>(scale * 8 * 65536);
    std::memcpy(&matrix.eM11, &fixed, sizeof fixed);
    std::memcpy(&matrix.eM22, &fixed, sizeof fixed);

    GLYPHMETRICS gm;
    std::memset(&gm, 0, sizeof gm);
    DWORD needed = GetGlyphOutlineA(m_dc, code, GGO_BITMAP, &gm, 0, nullptr, &matrix);
    if (needed == GDI_ERROR) return false;

    int32_t outlineStride = static_cast<int32_t>(((gm.gmBlackBoxX + 31) & ~31u) / 8);
    int32_t outlineRows = static_cast<int32_t>(gm.gmBlackBoxY);
    coverageWidth = static_cast<int32_t>((gm.gmBlackBoxX + 7) >> 3);
    coverageHeight = static_cast<int32_t>((gm.gmBlackBoxY + 7) >> 3);
    stride = outlineStride;
    if (bold) {
        ++coverageWidth;
        ++stride;
    }

    // The bitmap GDI writes must fit the rows the reduction reads.
    uint64_t outlineBytes = static_cast<uint64_t>(outlineStride) * static_cast<uint64_t>(outlineRows);
    uint64_t glyphBytes = needed > outlineBytes ? needed : outlineBytes;
    uint64_t coverageBytes = static_cast<uint64_t>(stride) * static_cast<uint64_t>(coverageHeight);
    if (glyphBytes > 0 && m_glyph.Size() < glyphBytes && !m_glyph.Alloc(glyphBytes * 2)) return false;
    if (coverageBytes > 0 && m_coverage.Size() < coverageBytes && !m_coverage.Alloc(coverageBytes * 2))
        return false;
    if (glyphBytes > 0) std::memset(m_glyph.Aligned(), 0, static_cast<size_t>(glyphBytes));
    if (coverageBytes > 0) std::memset(m_coverage.Aligned(), 0, static_cast<size_t>(coverageBytes));

    if (needed > 0) {
        DWORD got = GetGlyphOutlineA(m_dc, code, GGO_BITMAP, &gm, needed, m_glyph.Aligned(), &matrix);
        if (got != needed) return false;
        Downsample(m_coverage.Aligned(), m_glyph.Aligned(), stride, outlineRows, outlineStride);
        if (bold) widenBold(m_coverage.Aligned(), coverageWidth, coverageHeight, stride);
    } else {
        // A blank character (a space): no bitmap, only the advance.
        coverageWidth = coverageHeight = 0;
    }

    advanceX = std::abs(static_cast<int32_t>(gm.gmCellIncX)) >> 3;
    advanceY = std::abs(static_cast<int32_t>(gm.gmCellIncY)) >> 3;
    originX = static_cast<int32_t>(gm.gmptGlyphOrigin.x) >> 3;
    originY = static_cast<int32_t>(gm.gmptGlyphOrigin.y) >> 3;
    return true;
}

void cCharImage::Downsample(uint8_t* coverage, const uint8_t* outline, int32_t coverageStride,
                            int32_t outlineRows, int32_t outlineStride) {
    downsampleGlyph(coverage, outline, coverageStride, outlineRows, outlineStride);
}

bool cCharImage::Blit(cImage& image, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) {
    CoverageBitmap glyph;
    glyph.pixels = m_coverage.Aligned();
    glyph.width = coverageWidth;
    glyph.height = coverageHeight;
    glyph.stride = stride;
    glyph.originX = originX;
    glyph.originY = originY;
    return blitCoverage(image, x, y, glyph, r, g, b);
}

namespace {
class cSystemGlyphs : public cGlyphSource {
public:
    explicit cSystemGlyphs(cCharImage& rasteriser) : m_rasteriser(rasteriser) {}

    FontHandle MakeFont(const FontSpec& spec) override {
        LOGFONTA font;
        std::memset(&font, 0, sizeof font);
        font.lfHeight = spec.height;
        font.lfWeight = spec.weight;
        font.lfCharSet = spec.charSet;
        font.lfOutPrecision = OUT_TT_PRECIS;
        font.lfQuality = PROOF_QUALITY;
        font.lfPitchAndFamily = spec.pitchAndFamily;
        lstrcpynA(font.lfFaceName, spec.face ? spec.face : "", LF_FACESIZE);
        return CreateFontIndirectA(&font);
    }
    void FreeFont(FontHandle font) override {
        if (font) DeleteObject(static_cast<HFONT>(font));
    }
    bool Render(FontHandle font, uint32_t code, double scale) override {
        return m_rasteriser.Render(static_cast<HFONT>(font), code, scale);
    }
    int32_t AdvanceX() const override { return m_rasteriser.advanceX; }
    int32_t AdvanceY() const override { return m_rasteriser.advanceY; }
    bool Blit(cImage& image, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) override {
        return m_rasteriser.Blit(image, x, y, r, g, b);
    }

private:
    cCharImage& m_rasteriser;
};

bool systemLeadByte(uint8_t byte) { return IsDBCSLeadByte(byte) != FALSE; }
}  // namespace

cGlyphSource* systemGlyphSource(cCharImage& rasteriser) {
    // Never destroyed: fonts of module objects are freed through it after every module object
    // built later has gone.
    return new cSystemGlyphs(rasteriser);
}

void initTextRendering() {
    static cGlyphSource* source = systemGlyphSource(gCharImage);
    setTextGlyphs(source);
    setLeadByteTest(systemLeadByte);
}
