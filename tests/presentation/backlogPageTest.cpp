// The backlog's page and scroll bar: the handle's place and the drag formula at their ends, names
// ending at x 180, texts wrapping at the page's edge and running into the rows below, which entries
// the rows show (61 messages, a fresh start), which row buttons have a voice, and huge entries from
// a hostile save, of which only glyphs that can land on the page are rendered (and exactly those
// that a full drawing would put there).
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "base/moduleState.h"
#include "graphics/image.h"
#include "graphics/text/glyphSource.h"
#include "graphics/text/leadByte.h"
#include "graphics/text/textOut.h"
#include "presentation/backlog.h"
#include "presentation/backlogPage.h"
#include "testing.h"

namespace {
using namespace mLogBox;

// Advances of an 18-pixel font as the layout counts them: 9 a byte; every glyph drawn is recorded.
class NominalGlyphs : public cGlyphSource {
public:
    struct Drawn {
        uint32_t code;
        int32_t x, y;
        bool operator==(const Drawn& o) const { return code == o.code && x == o.x && y == o.y; }
        friend std::ostream& operator<<(std::ostream& out, const Drawn& d) {
            return out << std::hex << d.code << std::dec << "@" << d.x << "," << d.y;
        }
    };
    FontHandle MakeFont(const FontSpec& spec) override {
        size = spec.height;
        return this;
    }
    void FreeFont(FontHandle) override {}
    bool Render(FontHandle, uint32_t code, double) override {
        ++renders;
        m_code = code;
        return true;
    }
    int32_t AdvanceX() const override { return m_code > 0xFF ? 18 : 9; }
    int32_t AdvanceY() const override { return 0; }
    bool Blit(cImage&, int32_t x, int32_t y, uint8_t, uint8_t, uint8_t) override {
        drawn.push_back({m_code, x, y});
        return true;
    }
    // A glyph cell of the font (at most 18 wide and high) at (x, y) reaches the page.
    static bool Lands(const Drawn& d) {
        return d.x > -18 && d.x < kPageWidth && d.y > -18 && d.y < kPageHeight;
    }

    std::vector<Drawn> drawn;
    int64_t renders = 0;
    int32_t size = 0;

private:
    uint32_t m_code = 0;
};

// Every byte from 0x81 on begins a double-byte character, in both configurations alike.
bool highLead(uint8_t b) { return b >= 0x81 && b <= 0xFE; }

class BacklogPage : public ::testing::Test {
protected:
    void SetUp() override {
        resetEngineState();
        setTextGlyphs(&glyphs);
        setLeadByteTest(highLead);
        ASSERT_TRUE(page.Create(4, kPageWidth, kPageHeight));
        setUpPagePen(pen);
    }
    void TearDown() override {
        setLeadByteTest(nullptr);
        setTextGlyphs(nullptr);
        resetEngineState();
    }
    // The text drawn in a row at its first line: name glyphs left of x 200, text glyphs from it.
    std::pair<std::string, std::string> rowAt(int r) const {
        std::string name, text;
        for (const auto& d : glyphs.drawn) {
            if (d.y != kRowHeight * r + 10) continue;
            (d.x < 200 ? name : text) += static_cast<char>(d.code);
        }
        return {name, text};
    }

    NominalGlyphs glyphs;
    cTextOut pen;
    cSprite page;
};

std::vector<NominalGlyphs::Drawn> landing(const std::vector<NominalGlyphs::Drawn>& all) {
    std::vector<NominalGlyphs::Drawn> out;
    for (const auto& d : all)
        if (NominalGlyphs::Lands(d)) out.push_back(d);
    return out;
}
}  // namespace

TEST_F(BacklogPage, TheHandleAndTheDragFormulaAtTheirEnds) {
    EXPECT_EQ(520, handleY(0));
    EXPECT_EQ(510, handleY(1));
    EXPECT_EQ(31, handleY(48));
    EXPECT_EQ(20, handleY(49));
    const struct {
        int32_t y, scroll;
    } drags[] = {{20, 49}, {59, 49}, {60, 49}, {61, 48}, {70, 48}, {71, 47}, {300, 25},
                 {540, 1}, {541, 0}, {550, 0}, {551, 0}, {559, 0}, {560, 0}, {579, 0}};
    for (const auto& d : drags) EXPECT_EQ(d.scroll, dragScroll(d.y)) << d.y;
    const struct {
        int32_t x, y;
        bool on;
    } points[] = {{780, 20, true}, {799, 20, true}, {780, 579, true}, {799, 579, true},
                  {790, 300, true}, {779, 300, false}, {800, 300, false}, {790, 19, false},
                  {790, 580, false}, {-790, 300, false}};
    for (const auto& p : points) EXPECT_EQ(p.on, onScrollBar({p.x, p.y})) << p.x << "," << p.y;
    EXPECT_EQ(0, clampScroll(-1));
    EXPECT_EQ(49, clampScroll(50));
    EXPECT_EQ(49, clampScroll(int64_t(1) << 40));
    EXPECT_EQ(17, clampScroll(17));
}

TEST_F(BacklogPage, NamesEndAtX180AndTextsWrapAtThePageEdge) {
    EXPECT_EQ(18, glyphs.size);
    EXPECT_EQ(20, pen.lineHeight);
    EXPECT_EQ((std::vector<uint8_t>{255, 255, 255}), std::vector<uint8_t>(pen.colour, pen.colour + 3));
    // Three single bytes, then two double-byte characters (four bytes): both end at 180.
    drawRow(page, pen, 75, "Aki", 3, "ab\ncd");
    drawRow(page, pen, 150, "\x81\x41\x82\x42", 4, "");
    const std::vector<NominalGlyphs::Drawn> want = {
        {'A', 153, 85}, {'k', 162, 85}, {'i', 171, 85},
        {'a', 200, 85}, {'b', 209, 85}, {'c', 200, 105}, {'d', 209, 105},
        {0x8141, 144, 160}, {0x8242, 162, 160}};
    EXPECT_EQ(want, glyphs.drawn);

    // 63 single bytes fit a line (the next at 767 + 18 > 780 wraps); a double-byte one at 758 fits.
    glyphs.drawn.clear();
    drawRow(page, pen, 0, "", 0, std::string(62, 'x').append("\x81\x41" "yz").c_str());
    ASSERT_EQ(65u, glyphs.drawn.size());
    EXPECT_EQ((NominalGlyphs::Drawn{0x8141, 758, 10}), glyphs.drawn[62]);
    EXPECT_EQ((NominalGlyphs::Drawn{'y', 200, 30}), glyphs.drawn[63]);

    // A text longer than three lines runs into the row below it.
    glyphs.drawn.clear();
    drawRow(page, pen, 0, "n", 1, std::string(63 * 5, 'w').c_str());
    EXPECT_EQ(90, glyphs.drawn.back().y);
}

TEST_F(BacklogPage, SixtyOneMessagesAndTheOldestPage) {
    for (int i = 1; i <= 61; ++i)
        AddEntry(("N" + std::to_string(i)).c_str(), ("m" + std::to_string(i)).c_str());
    drawPage(page, pen, 0);
    for (int r = 0; r < 8; ++r) {
        const int m = 54 + r;  // the newest, 61, in the bottom row
        EXPECT_EQ(std::make_pair("N" + std::to_string(m), "m" + std::to_string(m)), rowAt(r)) << r;
    }
    // Position 49 shows the entries 57 to 50 steps back; 58 and 59 are never shown.
    glyphs.drawn.clear();
    drawPage(page, pen, 49);
    for (int r = 0; r < 8; ++r)
        EXPECT_EQ("m" + std::to_string(5 + r), rowAt(r).second) << r;
}

TEST_F(BacklogPage, AFreshStartShowsTheNewestAtTheBottomAndEmptyRowsAbove) {
    AddEntry("a", "one");
    SetPendingVoice("vo\\v1.ogg");
    AddEntry("b", "two");
    AddEntry("c", "three");
    // The page is cleared first.
    page.pixels[0] = 0x7F;
    EXPECT_EQ(1u << 2, drawPage(page, pen, 0));
    EXPECT_EQ(0, page.pixels[0]);
    for (const auto& d : glyphs.drawn) EXPECT_GE(d.y, 5 * kRowHeight);
    EXPECT_EQ("one", rowAt(5).second);
    EXPECT_EQ("two", rowAt(6).second);
    EXPECT_EQ("three", rowAt(7).second);
    // One step back, the voiced entry is row button 1.
    EXPECT_EQ(1u << 1, drawPage(page, pen, 1));
}

TEST_F(BacklogPage, HugeEntriesRenderOnlyWhatLandsOnThePage) {
    const size_t huge = size_t(4) << 20;
    std::string leads(huge + 1, '\x81');  // odd: the last lead byte stands alone
    std::string lines(huge, '\n');
    lines[huge / 2] = 'q';
    std::string breaks;  // a line break behind each lead byte, as the second byte of a character
    for (size_t i = 0; i < huge / 2; ++i) breaks += "\x81\n";
    std::string spaced = "s" + std::string(huge, ' ') + "t";
    const std::vector<std::pair<std::string, std::string>> entries = {
        {std::string(huge, 'N'), std::string(huge, 'T')},
        {leads, leads},
        {lines, lines},
        {breaks, breaks},
        {spaced, spaced},
        {std::string(huge, 'n') + "\nname", std::string(30, '\n') + "gone"},
    };
    for (const auto& e : entries) AddEntry(e.first.c_str(), e.second.c_str());
    for (int scroll = 0; scroll <= 1; ++scroll) {
        glyphs.drawn.clear();
        glyphs.renders = 0;
        drawPage(page, pen, scroll);
        EXPECT_EQ(glyphs.renders, static_cast<int64_t>(glyphs.drawn.size()));
        for (const auto& d : glyphs.drawn)
            EXPECT_TRUE(NominalGlyphs::Lands(d)) << std::hex << d.code << std::dec << " at " << d.x
                                                 << "," << d.y;
        // A page holds at most 30 lines of 65 glyphs for each row's text, and a name a line less.
        EXPECT_LT(glyphs.renders, 8 * 2 * 30 * 65);
        EXPECT_GT(glyphs.renders, 1000);
    }
}

TEST_F(BacklogPage, AHugeNameWithALineBreakGoesOnBelowAtX200) {
    const size_t huge = size_t(4) << 20;
    const std::string name = std::string(huge, 'n') + "\nname";
    drawRow(page, pen, 525, name.c_str(), name.size(), (std::string(30, '\n') + "gone").c_str());
    // The last 16 bytes before the break from x -9 on, then the rest at x 200 a line below; the
    // text's line breaks take it below the page before its word.
    std::vector<NominalGlyphs::Drawn> want;
    for (int k = 0; k < 16; ++k) want.push_back({'n', -9 + 9 * k, 535});
    for (int k = 0; k < 4; ++k) want.push_back({static_cast<uint32_t>("name"[k]), 200 + 9 * k, 555});
    EXPECT_EQ(want, glyphs.drawn);
    EXPECT_EQ(20, glyphs.renders);
}

TEST_F(BacklogPage, ABoundedRowDrawsExactlyWhatAFullDrawingPutsOnThePage) {
    // Random names and texts of letters, blanks, line breaks and lead bytes (fixed seed), drawn
    // whole by the pen and by the page's bounded drawing: the glyphs landing on the page agree.
    std::mt19937 random(1703);
    const char alphabet[] = {'a', 'B', ' ', '\n', '\x81', '\x82', '\xFE', 'z'};
    for (int round = 0; round < 400; ++round) {
        std::string name, text;
        const int nameBytes = static_cast<int>(random() % 90);
        const int textBytes = static_cast<int>(random() % 3000);
        for (int i = 0; i < nameBytes; ++i) name += alphabet[random() % sizeof alphabet];
        for (int i = 0; i < textBytes; ++i) {
            const uint32_t pick = random() % 400;
            if (pick < 8) text += '\n';
            else if (pick < 10) text += std::string(random() % 200, ' ');
            else text += alphabet[pick % sizeof alphabet == 3 ? 0 : pick % sizeof alphabet];
        }
        const int32_t y = kRowHeight * static_cast<int32_t>(random() % 8);

        glyphs.drawn.clear();
        glyphs.renders = 0;
        drawRow(page, pen, y, name.c_str(), name.size(), text.c_str());
        const std::vector<NominalGlyphs::Drawn> bounded = glyphs.drawn;
        EXPECT_EQ(glyphs.renders, static_cast<int64_t>(bounded.size()));
        EXPECT_EQ(landing(bounded), bounded) << round;

        glyphs.drawn.clear();
        pen.x = 180 - 9 * static_cast<int32_t>(name.size());
        pen.y = y + 10;
        pen.PutString(page, name.c_str(), false);
        pen.x = 200;
        pen.y = y + 10;
        pen.PutString(page, text.c_str(), true);
        EXPECT_EQ(landing(glyphs.drawn), bounded) << round;
    }
}
