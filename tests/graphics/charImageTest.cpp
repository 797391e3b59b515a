// The rasteriser over the system's fonts: what it reports, not the pixels of any glyph.
#include <windows.h>

#include <cstring>

#include "base/uiText.h"
#include "graphics/image.h"
#include "graphics/text/charImage.h"
#include "graphics/text/textOut.h"
#include "testing.h"

namespace {
HFONT makeFont(int height, int weight) {
    LOGFONTA f;
    std::memset(&f, 0, sizeof f);
    f.lfHeight = height;
    f.lfWeight = weight;
#ifdef MORVANE_EARLIER
    f.lfCharSet = SHIFTJIS_CHARSET;
#else
    f.lfCharSet = GB2312_CHARSET;
#endif
    f.lfOutPrecision = OUT_TT_PRECIS;
    f.lfQuality = PROOF_QUALITY;
    lstrcpynA(f.lfFaceName, uiText(UiText::FaceTextPen), LF_FACESIZE);
    return CreateFontIndirectA(&f);
}

int changedPixels(const cSprite& image) {
    int n = 0;
    for (int i = 0; i < image.width * image.height; ++i)
        if (image.pixels[i * image.bytesPerPixel]) ++n;
    return n;
}
}  // namespace

TEST(CharImage, RendersAndDrawsACharacter) {
    HFONT font = makeFont(24, 400);
    ASSERT_NE(nullptr, font);
    cCharImage glyphs;
    ASSERT_TRUE(glyphs.Render(font, 'W', 1.0));
    EXPECT_GT(glyphs.advanceX, 8);
    EXPECT_LE(glyphs.advanceX, 30);
    EXPECT_EQ(0, glyphs.advanceY);
    EXPECT_GT(glyphs.coverageWidth, 0);
    EXPECT_GT(glyphs.coverageHeight, 0);
    EXPECT_LE(glyphs.coverageHeight, 30);
    // The glyph lies inside its 24-pixel cell.
    EXPECT_GE(glyphs.originY, 0);
    EXPECT_LE(glyphs.originY + glyphs.coverageHeight, 28);

    cSprite image;
    ASSERT_TRUE(image.Create(1, 40, 40));
    std::memset(image.pixels, 0, 40 * 40);
    EXPECT_TRUE(glyphs.Blit(image, 4, 4, 255, 255, 255));
    EXPECT_GT(changedPixels(image), 10);

    // A double-byte character of the configuration's code page.
#ifdef MORVANE_EARLIER
    const uint32_t kanji = 0x8ABF;
#else
    const uint32_t kanji = 0xBABA;
#endif
    ASSERT_TRUE(glyphs.Render(font, kanji, 1.0));
    EXPECT_GE(glyphs.advanceX, 16);
    EXPECT_LE(glyphs.advanceX, 26);
    // Half scale (ruby readings) halves the advance.
    int full = glyphs.advanceX;
    ASSERT_TRUE(glyphs.Render(font, kanji, 0.5));
    EXPECT_NEAR(full / 2.0, glyphs.advanceX, 1.5);
    DeleteObject(font);
}

TEST(CharImage, BoldFontsAreWidened) {
    HFONT regular = makeFont(24, 400);
    HFONT bold = makeFont(24, 700);
    cCharImage glyphs;
    // Outline rows are whole 4-byte words; the glyph of a font whose metrics weigh more than 400
    // (the face may be heavier than asked) has one coverage byte and column more.
    HDC dc = CreateCompatibleDC(nullptr);
    for (HFONT font : {regular, bold}) {
        HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICA metrics;
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, old);
        ASSERT_TRUE(glyphs.Render(font, 'I', 1.0));
        EXPECT_EQ(metrics.tmWeight > 400 ? 1 : 0, glyphs.stride % 4) << metrics.tmWeight;
    }
    EXPECT_GE(glyphs.coverageWidth, 2);
    DeleteDC(dc);
    DeleteObject(regular);
    DeleteObject(bold);
}

// The configuration's regular face (黑体 in the full one, ＭＳ ゴシック in the earlier one) weighs 400,
// so its glyphs keep the outline's width: no bold column is added.
TEST(CharImage, ARegularFontIsNotWidened) {
    HFONT font = makeFont(24, 400);
    ASSERT_NE(nullptr, font);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics;
    ASSERT_TRUE(GetTextMetricsA(dc, &metrics));
    EXPECT_EQ(400, metrics.tmWeight);

    MAT2 eightfold;
    std::memset(&eightfold, 0, sizeof eightfold);
    eightfold.eM11.value = 8;
    eightfold.eM22.value = 8;
#ifdef MORVANE_EARLIER
    const uint32_t kanji = 0x8ABF;
#else
    const uint32_t kanji = 0xBABA;
#endif
    cCharImage glyphs;
    for (uint32_t code : {uint32_t{'I'}, uint32_t{'W'}, kanji}) {
        GLYPHMETRICS gm;
        std::memset(&gm, 0, sizeof gm);
        ASSERT_NE(GDI_ERROR, GetGlyphOutlineA(dc, code, GGO_BITMAP, &gm, 0, nullptr, &eightfold));
        ASSERT_TRUE(glyphs.Render(font, code, 1.0));
        EXPECT_EQ(static_cast<int32_t>((gm.gmBlackBoxX + 7) / 8), glyphs.coverageWidth) << code;
        EXPECT_EQ(0, glyphs.stride % 4) << code;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
}

TEST(CharImage, FailuresForgetTheLastGlyph) {
    HFONT font = makeFont(24, 400);
    cCharImage glyphs;
    ASSERT_TRUE(glyphs.Render(font, 'A', 1.0));
    EXPECT_FALSE(glyphs.Render(nullptr, 'A', 1.0));
    EXPECT_EQ(0, glyphs.advanceX);
    EXPECT_EQ(0, glyphs.coverageWidth);
    cSprite image;
    ASSERT_TRUE(image.Create(3, 30, 30));
    std::memset(image.pixels, 0, 30 * 30 * 3);
    EXPECT_TRUE(glyphs.Blit(image, 0, 0, 255, 255, 255));
    EXPECT_EQ(0, changedPixels(image));
    EXPECT_FALSE(glyphs.Render(font, 0, 1.0));
    // A space has no bitmap but an advance.
    EXPECT_TRUE(glyphs.Render(font, ' ', 1.0));
    EXPECT_GT(glyphs.advanceX, 0);
    EXPECT_EQ(0, glyphs.coverageHeight);
    DeleteObject(font);
}

TEST(CharImage, TextPenThroughTheSystemRasteriser) {
    initTextRendering();
    cTextOut pen;
    ASSERT_TRUE(pen.SetFont(20, 0));
    cSprite image;
    ASSERT_TRUE(image.Create(4, 200, 40));
    std::memset(image.pixels, 0, 200 * 40 * 4);
    EXPECT_TRUE(pen.PutString(image, "Text", false));
    EXPECT_GT(pen.x, 20);
    EXPECT_GT(changedPixels(image), 20);  // alpha bytes set where the glyphs went
    setTextGlyphs(nullptr);
}
