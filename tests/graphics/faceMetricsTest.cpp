// The full configuration's face 黑体 as the system gives it: a line of one em, so that a positive
// height (the cell height of the message fonts) draws the characters at the cell's size and the
// dialog font's -12 fits its 12-pixel labels; a regular weight; the pinyin letters of ruby readings;
// text drawn where it is measured.
#include <windows.h>

#include <string>
#include <vector>

#include "base/configuration.h"
#include "base/uiText.h"
#include "graphics/text/charImage.h"
#include "inkBitmap.h"
#include "presentation/screens/configControls.h"
#include "testing.h"

namespace {
constexpr uint32_t kGuo = 0xB9FA;                                                  // 国
constexpr uint32_t kPinyin[] = {0xA8A1, 0xA8A3, 0xA8A5, 0xA8AB, 0xA8AF, 0xA8B3};  // ā ǎ ē ǐ ǒ ǔ

// The program's glyph source over a rasteriser of the test's own.
cCharImage gRasteriser;
cGlyphSource& glyphs() {
    static cGlyphSource* source = systemGlyphSource(gRasteriser);
    return *source;
}

// A font as the program's glyph source makes it (the message window's and the text pens').
struct Font {
    HFONT handle;
    Font(int32_t height, UiText face) {
        FontSpec spec;
        spec.height = height;
        spec.charSet = kConfigCharSet;
        spec.face = uiText(face);
        handle = static_cast<HFONT>(glyphs().MakeFont(spec));
    }
    ~Font() { glyphs().FreeFont(handle); }
};

TEXTMETRICA metricsOf(HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    DeleteDC(dc);
    return metrics;
}

// The leftmost column where drawing the text at x 0 puts ink that drawing the prefix does not.
int firstNewColumn(InkBitmap& canvas, const std::string& prefix, const std::string& text) {
    std::vector<bool> ink[2];
    const std::string* texts[2] = {&prefix, &text};
    for (int i = 0; i < 2; ++i) {
        canvas.Clear();
        TextOutA(canvas.dc, 0, 4, texts[i]->data(), static_cast<int>(texts[i]->size()));
        ink[i] = canvas.Ink();
    }
    for (int x = 0; x < canvas.width; ++x)
        for (int y = 0; y < canvas.height; ++y)
            if (ink[1][y * canvas.width + x] && !ink[0][y * canvas.width + x]) return x;
    return -1;
}
}  // namespace

TEST(FaceMetrics, ACellHeightDrawsTheCharactersAtTheCellsSize) {
    // The message fonts ask for 黑体 with a 24-pixel cell, as does the text pen at its sizes.
    for (UiText face : {UiText::FaceMessageGothic, UiText::FaceMessageMincho,
                        UiText::FaceMessageName, UiText::FaceTextPen}) {
        Font font(24, face);
        ASSERT_NE(nullptr, font.handle);
        TEXTMETRICA metrics = metricsOf(font.handle);
        EXPECT_EQ(24, metrics.tmAscent + metrics.tmDescent);
        EXPECT_EQ(0, metrics.tmInternalLeading);
        EXPECT_EQ(400, metrics.tmWeight);
    }
    // 国 fills most of the cell (on Windows 黑体 draws it about 21 pixels high) and stays inside it.
    Font font(24, UiText::FaceMessageGothic);
    ASSERT_TRUE(glyphs().Render(font.handle, kGuo, 1.0));
    const cCharImage& glyph = gRasteriser;
    EXPECT_GE(glyph.coverageHeight, 20);
    EXPECT_GE(glyph.originY, 0);
    EXPECT_LE(glyph.originY + glyph.coverageHeight, 24);
    EXPECT_EQ(24, glyph.advanceX);
    // Half scale (ruby): half of it.
    ASSERT_TRUE(glyphs().Render(font.handle, kGuo, 0.5));
    EXPECT_GE(glyph.coverageHeight, 10);
    EXPECT_EQ(12, glyph.advanceX);
}

TEST(FaceMetrics, TheDialogFontsLineIsTwelvePixels) {
    cUIFont dialogFont;
    HFONT font = dialogFont.Get();
    ASSERT_NE(nullptr, font);
    TEXTMETRICA metrics = metricsOf(font);
    EXPECT_EQ(12, metrics.tmHeight);
    EXPECT_EQ(400, metrics.tmWeight);
    // 黑体's advance: 12 pixels a double-byte character.
    InkBitmap canvas(8, 8);
    SelectObject(canvas.dc, font);
    SIZE size;
    ASSERT_TRUE(GetTextExtentPoint32A(canvas.dc, "\xce\xb4\xb6\xc1\xb6\xcc\xd0\xc5", 8, &size));  // 未读短信
    EXPECT_EQ(48, size.cx);
    EXPECT_EQ(12, size.cy);
    SelectObject(canvas.dc, GetStockObject(SYSTEM_FONT));
    dialogFont.Delete();
}

TEST(FaceMetrics, TheRubyReadingsLettersAreTheFacesOwn) {
    Font font(24, UiText::FaceMessageGothic);
    std::string text;
    for (uint32_t code : kPinyin) {
        text += static_cast<char>(code >> 8);
        text += static_cast<char>(code & 0xFF);
    }
    InkBitmap canvas(8, 8);
    SelectObject(canvas.dc, font.handle);
    WORD glyphs[sizeof kPinyin / sizeof kPinyin[0]] = {};
    ASSERT_EQ(static_cast<DWORD>(sizeof glyphs / sizeof glyphs[0]),
              GetGlyphIndicesA(canvas.dc, text.data(), static_cast<int>(text.size()), glyphs,
                               GGI_MARK_NONEXISTING_GLYPHS));
    for (WORD g : glyphs) EXPECT_NE(0xFFFF, g);
    SelectObject(canvas.dc, GetStockObject(SYSTEM_FONT));
}

// At the sizes the face has bitmaps for (12 to 16 pixels, the dialog's among them) text is drawn
// where it is measured: a character advances the pen as far as GetTextExtentPoint32A says, so that
// right-aligned and centred texts end where they were measured to end, inside their controls.
TEST(FaceMetrics, TextIsDrawnWhereItIsMeasured) {
    const std::string marker = "\xbf\xda";  // 口: a vertical stroke at its left
    std::vector<std::string> texts;
    for (char c = 0x20; c < 0x7F; ++c) texts.push_back(std::string(1, c));
    for (const char* dbcs : {"\xa3\xcd", "\xa3\xc9", "\xa3\xba", "\xa8\xa3", "\xa1\xfc"})
        texts.push_back(dbcs);  // Ｍ Ｉ ： ǎ ↑
    InkBitmap canvas(96, 32);
    for (int size = 12; size <= 16; ++size) {
        Font font(-size, UiText::FaceDialog);
        SelectObject(canvas.dc, font.handle);
        int markerStart = firstNewColumn(canvas, "", marker);
        ASSERT_GE(markerStart, 0);
        for (const std::string& text : texts) {
            SIZE measured;
            ASSERT_TRUE(GetTextExtentPoint32A(canvas.dc, text.data(), static_cast<int>(text.size()),
                                              &measured));
            int drawn = firstNewColumn(canvas, text, text + marker) - markerStart;
            EXPECT_EQ(measured.cx, drawn) << "size " << size << " text " << text;
        }
        SelectObject(canvas.dc, GetStockObject(SYSTEM_FONT));
    }
}
