// The full configuration's face 黑体 as the system gives it: a line of one em, so that a positive
// height (the cell height of the message fonts) draws the characters at the cell's size and the
// dialog font's -12 fits its 12-pixel labels; a regular weight; the pinyin letters of ruby readings.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/configuration.h"
#include "base/uiText.h"
#include "graphics/text/charImage.h"
#include "testing.h"

namespace {
constexpr uint32_t kGuo = 0xB9FA;                                        // 国
constexpr uint32_t kPinyin[] = {0xA8A1, 0xA8A3, 0xA8A5, 0xA8AB, 0xA8AF, 0xA8B3};  // ā ǎ ē ǐ ǒ ǔ

HFONT makeFont(int height, UiText face) {
    LOGFONTA f;
    std::memset(&f, 0, sizeof f);
    f.lfHeight = height;
    f.lfWeight = 400;
    f.lfCharSet = kConfigCharSet;
    f.lfOutPrecision = OUT_TT_PRECIS;
    f.lfQuality = PROOF_QUALITY;
    lstrcpynA(f.lfFaceName, uiText(face), LF_FACESIZE);
    return CreateFontIndirectA(&f);
}

// The leftmost column holding ink in the text drawn at x 0 that is not in the prefix drawn alone,
// in a bitmap of a memory device context.
struct Canvas {
    static constexpr int kWidth = 96, kHeight = 32;
    HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap;
    HGDIOBJ oldBitmap;
    Canvas() {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        oldBitmap = SelectObject(dc, bitmap);
        SetBkMode(dc, TRANSPARENT);
    }
    ~Canvas() {
        SelectObject(dc, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    std::vector<bool> Draw(const std::string& text) {
        std::memset(bits, 255, kWidth * kHeight * 4);
        TextOutA(dc, 0, 4, text.data(), static_cast<int>(text.size()));
        GdiFlush();
        std::vector<bool> ink(kWidth * kHeight);
        for (int i = 0; i < kWidth * kHeight; ++i)
            ink[i] = (static_cast<const uint32_t*>(bits)[i] & 0xFF) < 128;
        return ink;
    }
    int FirstNewColumn(const std::string& prefix, const std::string& text) {
        std::vector<bool> before = Draw(prefix), after = Draw(text);
        for (int x = 0; x < kWidth; ++x)
            for (int y = 0; y < kHeight; ++y)
                if (after[y * kWidth + x] && !before[y * kWidth + x]) return x;
        return -1;
    }
};

// The font selected into a memory device context for the test's length.
struct Selected {
    HFONT font;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old;
    TEXTMETRICA metrics = {};
    explicit Selected(HFONT f) : font(f), old(SelectObject(dc, f)) { GetTextMetricsA(dc, &metrics); }
    ~Selected() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(font);
    }
};
}  // namespace

TEST(FaceMetrics, ACellHeightDrawsTheCharactersAtTheCellsSize) {
    // The message fonts: Mincho, Gothic and name fonts all ask for 黑体 with a 24-pixel cell.
    for (UiText face : {UiText::FaceMessageGothic, UiText::FaceMessageMincho,
                        UiText::FaceMessageName, UiText::FaceTextPen}) {
        Selected s(makeFont(24, face));
        ASSERT_NE(nullptr, s.font);
        EXPECT_EQ(24, s.metrics.tmAscent + s.metrics.tmDescent);
        EXPECT_EQ(0, s.metrics.tmInternalLeading);
        EXPECT_EQ(400, s.metrics.tmWeight);
    }
    // 国 fills most of the cell (on Windows 黑体 draws it about 21 pixels high) and stays inside it.
    HFONT font = makeFont(24, UiText::FaceMessageGothic);
    cCharImage glyphs;
    ASSERT_TRUE(glyphs.Render(font, kGuo, 1.0));
    EXPECT_GE(glyphs.coverageHeight, 20);
    EXPECT_GE(glyphs.originY, 0);
    EXPECT_LE(glyphs.originY + glyphs.coverageHeight, 24);
    EXPECT_EQ(24, glyphs.advanceX);
    // Half scale (ruby): half of it.
    ASSERT_TRUE(glyphs.Render(font, kGuo, 0.5));
    EXPECT_GE(glyphs.coverageHeight, 10);
    EXPECT_EQ(12, glyphs.advanceX);
    DeleteObject(font);
}

TEST(FaceMetrics, TheDialogFontsLineIsTwelvePixels) {
    Selected s(makeFont(-12, UiText::FaceDialog));
    ASSERT_NE(nullptr, s.font);
    EXPECT_EQ(12, s.metrics.tmHeight);
    EXPECT_EQ(12, s.metrics.tmAscent + s.metrics.tmDescent);
    EXPECT_EQ(400, s.metrics.tmWeight);
    // 黑体's advance: 12 pixels a double-byte character.
    SIZE size;
    ASSERT_TRUE(GetTextExtentPoint32A(s.dc, "\xce\xb4\xb6\xc1\xb6\xcc\xd0\xc5", 8, &size));  // 未读短信
    EXPECT_EQ(48, size.cx);
    EXPECT_EQ(12, size.cy);
}

TEST(FaceMetrics, TheRubyReadingsLettersAreTheFacesOwn) {
    Selected s(makeFont(24, UiText::FaceMessageGothic));
    char text[2 * (sizeof kPinyin / sizeof kPinyin[0])];
    int n = 0;
    for (uint32_t code : kPinyin) {
        text[n++] = static_cast<char>(code >> 8);
        text[n++] = static_cast<char>(code & 0xFF);
    }
    WORD glyphs[sizeof kPinyin / sizeof kPinyin[0]] = {};
    ASSERT_EQ(static_cast<DWORD>(sizeof glyphs / sizeof glyphs[0]),
              GetGlyphIndicesA(s.dc, text, n, glyphs, GGI_MARK_NONEXISTING_GLYPHS));
    for (WORD g : glyphs) EXPECT_NE(0xFFFF, g);
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
    for (int size = 12; size <= 16; ++size) {
        Selected s(makeFont(-size, UiText::FaceDialog));
        Canvas canvas;
        SelectObject(canvas.dc, s.font);
        int markerStart = canvas.FirstNewColumn("", marker);
        ASSERT_GE(markerStart, 0);
        for (const std::string& text : texts) {
            SIZE measured;
            ASSERT_TRUE(GetTextExtentPoint32A(canvas.dc, text.data(), static_cast<int>(text.size()),
                                              &measured));
            int drawn = canvas.FirstNewColumn(text, text + marker) - markerStart;
            EXPECT_EQ(measured.cx, drawn) << "size " << size << " text " << text;
        }
    }
}
