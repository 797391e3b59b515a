// The text pen over a glyph source with fixed advances.
#include <cstring>

#include "config/systemInfo.h"
#include "fakeGlyphs.h"
#include "graphics/text/textOut.h"
#include "testing.h"

namespace {
class TextOutTest : public ::testing::Test {
protected:
    void SetUp() override {
        setTextGlyphs(&glyphs);
        ASSERT_TRUE(canvas.Create(4, 200, 200));
    }
    void TearDown() override { setTextGlyphs(nullptr); }

    cFakeGlyphs glyphs;
    cSprite canvas;
};
}  // namespace

TEST_F(TextOutTest, SetFontMakesTheConfigurationsFont) {
    cTextOut pen;
    EXPECT_FALSE(pen.SetFont(-1, 0));
    EXPECT_FALSE(pen.SetFont(20, -1));
    EXPECT_TRUE(glyphs.fonts.empty());
    EXPECT_EQ(0, pen.size);

    pen.font.flags = 7;
    EXPECT_TRUE(pen.SetFont(20, 4));
    EXPECT_EQ(20, pen.size);
    EXPECT_EQ(24, pen.lineHeight);
    EXPECT_EQ(0u, pen.font.flags);
    ASSERT_EQ(1u, glyphs.fonts.size());
    EXPECT_EQ(20, glyphs.fonts[0].spec.height);
    EXPECT_EQ(400, glyphs.fonts[0].spec.weight);
#ifdef MORVANE_EARLIER
    EXPECT_EQ(128, glyphs.fonts[0].spec.charSet);
    EXPECT_EQ("\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e", glyphs.fonts[0].face);
#else
    EXPECT_EQ(134, glyphs.fonts[0].spec.charSet);
    EXPECT_EQ("\xba\xda\xcc\xe5", glyphs.fonts[0].face);
#endif
    // A new font replaces the old one; size 0 is accepted.
    EXPECT_TRUE(pen.SetFont(0, 0));
    EXPECT_TRUE(glyphs.fonts[0].freed);
    EXPECT_EQ(2u, glyphs.fonts.size());
}

TEST_F(TextOutTest, WrapsByTheFullSizeBeforeDrawing) {
    cTextOut pen;
    pen.SetFont(24, 6);
    pen.left = 10;
    pen.top = 5;
    pen.right = 70;
    pen.Home();
    glyphs.advances['i'] = 4;
    // "ab" take 12 each: 10, 22, 34; at x = 46 a double-byte character (46 + 24 = 70) still fits;
    // then "i" at x = 70 wraps although it is 4 wide.
    EXPECT_TRUE(pen.PutString(canvas, "abc\x88\xa0i", true));
    ASSERT_EQ(5u, glyphs.drawn.size());
    EXPECT_EQ(10, glyphs.drawn[0].x);
    EXPECT_EQ(34, glyphs.drawn[2].x);
    EXPECT_EQ(0x88A0u, glyphs.drawn[3].code);
    EXPECT_EQ(46, glyphs.drawn[3].x);
    EXPECT_EQ(5, glyphs.drawn[3].y);
    EXPECT_EQ(10, glyphs.drawn[4].x);
    EXPECT_EQ(35, glyphs.drawn[4].y);
    EXPECT_EQ(14, pen.x);
    // Without wrapping lines run past the edge; nothing clips at the bottom.
    pen.x = 69;
    pen.y = 500;
    pen.PutString(canvas, "w", false);
    EXPECT_EQ(69, glyphs.drawn.back().x);
    EXPECT_EQ(500, glyphs.drawn.back().y);
}

TEST_F(TextOutTest, SpacesLineFeedsAndLoneLeadBytes) {
    cTextOut pen;
    pen.SetFont(25, 0);
    pen.colour[0] = 1;
    pen.colour[1] = 2;
    pen.colour[2] = 3;
    pen.Home();
    // A space moves half the size (rounded down), a double-byte space the full size; neither draws.
    pen.PutString(canvas, " \x81\x40", true);
    EXPECT_EQ(12 + 25, pen.x);
    EXPECT_TRUE(glyphs.drawn.empty());
    pen.PutString(canvas, "a\nb", true);
    ASSERT_EQ(2u, glyphs.drawn.size());
    EXPECT_EQ(0, glyphs.drawn[1].x);
    EXPECT_EQ(25, glyphs.drawn[1].y);
    EXPECT_EQ(1, glyphs.drawn[1].r);
    EXPECT_EQ(3, glyphs.drawn[1].b);
    // A text that ends in a lead byte draws it as lead x 256 and stops.
    pen.PutString(canvas, "\x88", true);
    ASSERT_EQ(3u, glyphs.drawn.size());
    EXPECT_EQ(0x8800u, glyphs.drawn[2].code);
    EXPECT_FALSE(pen.PutString(canvas, nullptr, true));
    EXPECT_FALSE(pen.PutChar(canvas, nullptr, true));
    EXPECT_FALSE(pen.PutCode(canvas, 0, true));
}

TEST_F(TextOutTest, WithoutAFontNothingIsDrawnOrAdvanced) {
    cTextOut pen;
    pen.PutString(canvas, "abc", true);
    EXPECT_TRUE(glyphs.drawn.empty());
    EXPECT_EQ(0, pen.x);
}

TEST_F(TextOutTest, RectangleKeepsTheFirstScreenSize) {
    cTextOut first;
    int oldWidth = gScreenWidth, oldHeight = gScreenHeight;
    gScreenWidth = oldWidth + 100;
    gScreenHeight = oldHeight + 100;
    cTextOut later;
    EXPECT_EQ(first.right, later.right);
    EXPECT_EQ(first.bottom, later.bottom);
    EXPECT_EQ(0, later.left);
    EXPECT_EQ(255, later.colour[0]);
    gScreenWidth = oldWidth;
    gScreenHeight = oldHeight;
}
