// The message window's layout and typing over a glyph source with fixed advances: 24 pixels for a
// double-byte character, 12 for a single byte, half that for readings at scale 0.5.
#include <cstring>
#include <string>
#include <vector>

#include "base/uiText.h"
#include "config/registry.h"
#include "base/settings.h"
#include "files/textBuf.h"
#include "fakeGlyphs.h"
#include "presentation/msgBox.h"
#include "presentation/msgDisplay.h"
#include "presentation/msgSpeakers.h"
#include "testing.h"

namespace {
// Shift-JIS codes (the numbers are what matters; both code pages treat 0x82 and 0x8A-0x8E as lead
// bytes): hiragana of class 1, kanji of class 0.
#define KANA_A "\x82\xa0"
#define KANA_I "\x82\xa2"
#define KANA_KA "\x82\xa9"
#define KANA_N "\x82\xf1"
#define KANA_NO "\x82\xcc"
#define KANJI_1 "\x8a\xbf"
#define KANJI_2 "\x8e\x9a"

constexpr int kMincho = 0, kGothic = 1, kName = 2;  // font indices in the order they are made

int groupOf(const char* name) { return std::strcmp(name, "Aki") == 0 ? 3 : 0; }

class MsgBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        setDefaultSettings();
        UserSettings.textShadow = 0;
        UserSettings.font = 0;
        UserSettings.speakerColours = 0;
        setMsgGlyphs(&glyphs);
        box.CreateFonts();
        ASSERT_TRUE(box.boxImage.Create(4, 800, 200));
        std::memset(box.boxImage.pixels, 0xFF, static_cast<size_t>(box.boxImage.ByteCount()));
        MsgWindowMode = 0;
        gMsgTextArea = kWindowTextArea;
    }
    void TearDown() override {
        setMsgGlyphs(nullptr);
        setSpeakerLookups(nullptr, nullptr);
        MsgWindowMode = 0;
        gMsgTextArea = kWindowTextArea;
    }

    // Starts a message in the window layout.
    void start(const char* text, const char* name = "") {
        box.SetText(text);
        ASSERT_TRUE(box.SetSpeaker(name, false));
        glyphs.drawn.clear();
    }
    // The glyphs drawn so far in the message font sizes (ruby and names excluded).
    std::vector<cFakeGlyphs::Drawn> characters() const {
        std::vector<cFakeGlyphs::Drawn> out;
        for (const auto& d : glyphs.drawn)
            if (d.scale == 1.0 && d.font != kName) out.push_back(d);
        return out;
    }
    std::vector<cFakeGlyphs::Drawn> ruby() const {
        std::vector<cFakeGlyphs::Drawn> out;
        for (const auto& d : glyphs.drawn)
            if (d.scale == 0.5) out.push_back(d);
        return out;
    }

    cFakeGlyphs glyphs;
    cMsgBox box;
};
}  // namespace

TEST_F(MsgBoxTest, FontsAreMadeInOrder) {
    ASSERT_EQ(3u, glyphs.fonts.size());
    EXPECT_EQ(700, glyphs.fonts[kMincho].spec.weight);
    EXPECT_EQ(400, glyphs.fonts[kGothic].spec.weight);
    EXPECT_EQ(400, glyphs.fonts[kName].spec.weight);
    EXPECT_EQ(uiText(UiText::FaceMessageMincho), glyphs.fonts[kMincho].face);
    EXPECT_EQ(uiText(UiText::FaceMessageGothic), glyphs.fonts[kGothic].face);
    EXPECT_EQ(uiText(UiText::FaceMessageName), glyphs.fonts[kName].face);
    for (const auto& f : glyphs.fonts) {
        EXPECT_EQ(24, f.spec.height);
#ifdef MORVANE_EARLIER
        EXPECT_EQ(128, f.spec.charSet);
#else
        EXPECT_EQ(134, f.spec.charSet);
#endif
    }
}

TEST_F(MsgBoxTest, NamePlateIsCentredOnX142) {
    box.SetText("x");
    ASSERT_TRUE(box.SetSpeaker("Aki", false));
    // 142 - 3 bytes x 24 / 4 = 124, then 12 per single byte, at y = 18, in the name font.
    ASSERT_EQ(3u, glyphs.drawn.size());
    EXPECT_EQ(124, glyphs.drawn[0].x);
    EXPECT_EQ(136, glyphs.drawn[1].x);
    EXPECT_EQ(148, glyphs.drawn[2].x);
    for (const auto& d : glyphs.drawn) {
        EXPECT_EQ(18, d.y);
        EXPECT_EQ(kName, d.font);
    }
    glyphs.drawn.clear();
    box.SetText("x");
    box.SetSpeaker(KANJI_1 KANJI_2, false);  // 4 bytes: 142 - 24
    ASSERT_EQ(2u, glyphs.drawn.size());
    EXPECT_EQ(118, glyphs.drawn[0].x);
    EXPECT_EQ(0x8ABFu, glyphs.drawn[0].code);
    EXPECT_EQ(142, glyphs.drawn[1].x);
    // The pen starts at the text area's top-left.
    EXPECT_EQ(80, box.penX);
    EXPECT_EQ(70, box.penY);
    EXPECT_FALSE(box.SetSpeaker(nullptr, false));
}

TEST_F(MsgBoxTest, EmptyNameClearsThePlateAlphaWithinTheCanvas) {
    start("x");
    const cSprite& c = box.textCanvas;
    ASSERT_TRUE(c.HasPixels());
    auto px = [&](int x, int y) { return c.pixels + (y * c.width + x) * 4; };
    EXPECT_EQ(0, px(0, 0)[0]);
    EXPECT_EQ(0, px(299, 44)[0]);
    EXPECT_EQ(0xFF, px(299, 44)[1]);  // colour bytes stay
    EXPECT_EQ(0xFF, px(300, 44)[0]);
    EXPECT_EQ(0xFF, px(299, 45)[0]);
    // The box itself is untouched.
    EXPECT_EQ(0xFF, box.boxImage.pixels[0]);

    // A box smaller than the plate is cleared only inside; a box without alpha is left alone.
    ASSERT_TRUE(box.boxImage.Create(4, 20, 10));
    std::memset(box.boxImage.pixels, 0xFF, 20 * 10 * 4);
    start("x");
    for (int i = 0; i < 20 * 10; ++i) ASSERT_EQ(0, box.textCanvas.pixels[i * 4]);
    ASSERT_TRUE(box.boxImage.Create(3, 400, 100));
    std::memset(box.boxImage.pixels, 0x7F, 400 * 100 * 3);
    start("x");
    EXPECT_EQ(0x7F, box.textCanvas.pixels[0]);
    // No box at all.
    box.boxImage.Release();
    start("x");
    EXPECT_FALSE(box.textCanvas.HasPixels());
    EXPECT_FALSE(box.DrawUpTo(-1));
}

TEST_F(MsgBoxTest, NovelLayoutBracketsANamedSpeaker) {
    MsgWindowMode = 1;
    ASSERT_TRUE(box.textCanvas.Create(4, 800, 600));
    box.Clear();
    EXPECT_EQ(80, box.penX);
    EXPECT_EQ(0, box.penY);
    box.SetText("ab");
    ASSERT_TRUE(box.SetSpeaker("Aki", true));
    // One pitch down; the name from x = 80, then the opening bracket; the text area's left edge
    // moves after the bracket and the closing bracket ends the message.
    ASSERT_EQ(4u, glyphs.drawn.size());
    EXPECT_EQ(80, glyphs.drawn[0].x);
    EXPECT_EQ(40, glyphs.drawn[0].y);
    EXPECT_EQ(116, glyphs.drawn[3].x);
    EXPECT_EQ(codeOfText(uiText(UiText::NovelOpenBracket)), glyphs.drawn[3].code);
    EXPECT_EQ(140, box.penX);
    EXPECT_EQ(140, gMsgTextArea.left);
    EXPECT_EQ(720, gMsgTextArea.right);
    ASSERT_EQ(3u, box.codes.size());
    EXPECT_EQ(codeOfText(uiText(UiText::NovelCloseBracket)), box.codes.back());
    glyphs.drawn.clear();
    EXPECT_FALSE(box.DrawUpTo(-1));
    ASSERT_EQ(3u, glyphs.drawn.size());
    EXPECT_EQ(140, glyphs.drawn[0].x);
    EXPECT_EQ(164, glyphs.drawn[2].x);  // the closing bracket after "ab"

    // The next message goes on one pitch lower; without a name: no brackets, the area from 80.
    glyphs.drawn.clear();
    box.SetText("c");
    box.SetSpeaker("", true);
    EXPECT_TRUE(glyphs.drawn.empty());
    EXPECT_EQ(80, box.penX);
    EXPECT_EQ(80, box.penY);
    EXPECT_EQ(1u, box.codes.size());
}

TEST_F(MsgBoxTest, ClearDarkensTheNovelCanvas) {
    ASSERT_TRUE(box.textCanvas.Create(4, 800, 600));
    std::memset(box.textCanvas.pixels, 0x55, 800 * 600 * 4);
    MsgWindowMode = 1;
    box.Clear();
    const uint8_t* p = box.textCanvas.pixels + (599 * 800 + 799) * 4;
    EXPECT_EQ(127, p[0]);
    EXPECT_EQ(0, p[1]);
    EXPECT_EQ(0, p[3]);
    EXPECT_EQ(kNovelTextArea.right, gMsgTextArea.right);
    // Any other mode: all zero, the window area, the pen at its top-left.
    std::memset(box.textCanvas.pixels, 0x55, 800 * 600 * 4);
    MsgWindowMode = 0;
    box.Clear();
    EXPECT_EQ(0, box.textCanvas.pixels[0]);
    EXPECT_EQ(0, p[0]);
    EXPECT_EQ(kWindowTextArea.right, gMsgTextArea.right);
    EXPECT_EQ(80, box.penX);
    EXPECT_EQ(70, box.penY);
}

TEST_F(MsgBoxTest, TypingTargetsForEachUnitCost) {
    // Each character costs 4 units at the starting step; the character that reaches the target is
    // drawn too, so a target t shows ceil(t / 4) characters.
    start("abcdef");
    EXPECT_TRUE(box.DrawUpTo(0));
    EXPECT_EQ(0u, characters().size());
    EXPECT_TRUE(box.DrawUpTo(1));
    EXPECT_EQ(1u, characters().size());
    EXPECT_TRUE(box.DrawUpTo(4));
    EXPECT_EQ(1u, characters().size());
    EXPECT_TRUE(box.DrawUpTo(9));
    EXPECT_EQ(3u, characters().size());
    EXPECT_TRUE(box.DrawUpTo(24));
    EXPECT_EQ(6u, characters().size());
    // The first call that finds no code left reports completion and empties the codes.
    EXPECT_FALSE(box.DrawUpTo(25));
    EXPECT_TRUE(box.codes.empty());
    EXPECT_FALSE(box.DrawUpTo(-1));
}

TEST_F(MsgBoxTest, PauseCostsTenCharacters) {
    start("ab@cd");
    box.DrawUpTo(8);
    EXPECT_EQ(2u, characters().size());
    box.DrawUpTo(48);
    EXPECT_EQ(2u, characters().size());
    EXPECT_EQ(48, box.units);
    box.DrawUpTo(49);
    EXPECT_EQ(3u, characters().size());
}

TEST_F(MsgBoxTest, NoDelayTextShowsAtOnce) {
    start("a{bcd}ef");
    box.DrawUpTo(4);
    EXPECT_EQ(1u, characters().size());
    box.DrawUpTo(5);
    EXPECT_EQ(5u, characters().size());  // b, c, d free, then e reaches the target
    EXPECT_EQ(8, box.units);
}

TEST_F(MsgBoxTest, SpeedStepsAndTheirLimits) {
    start(">>>>>abc<<<<<<de");
    box.DrawUpTo(3);
    EXPECT_EQ(3u, characters().size());  // step 4: one unit each
    EXPECT_EQ(4, box.speedStep);
    box.DrawUpTo(3 + 16);
    EXPECT_EQ(4u, characters().size());  // step 0: sixteen units
    EXPECT_EQ(0, box.speedStep);
    box.DrawUpTo(-1);
    // Each new message starts at step 2.
    start("a");
    EXPECT_EQ(2, box.speedStep);
    box.DrawUpTo(1);
    EXPECT_EQ(4, box.units);
}

TEST_F(MsgBoxTest, TrailingBackslashCostsUnitsAndDrawsNothing) {
    start("a\\");
    box.DrawUpTo(5);
    EXPECT_EQ(8, box.units);
    EXPECT_EQ(1u, characters().size());
    EXPECT_FALSE(box.DrawUpTo(-1));
}

TEST_F(MsgBoxTest, LineBreakingAtTheRightEdge) {
    // Double-byte characters of 24 pixels from x = 80: 23 fit before 640, the 24th wraps.
    std::string text;
    for (int i = 0; i < 24; ++i) text += KANJI_1;
    start(text.c_str());
    box.DrawUpTo(-1);
    auto chars = characters();
    ASSERT_EQ(24u, chars.size());
    EXPECT_EQ(608, chars[22].x);
    EXPECT_EQ(70, chars[22].y);
    EXPECT_EQ(80, chars[23].x);
    EXPECT_EQ(110, chars[23].y);

    // A character that may not begin a line stays at the end of the line, past the edge; the next
    // one wraps. The test uses the fixed size 24, not the glyph's width.
    const MsgCode period = gKinsokuTable[7];
    ASSERT_NE(0u, period);
    std::string withPeriod;
    for (int i = 0; i < 23; ++i) withPeriod += KANJI_1;
    withPeriod += static_cast<char>(period >> 8);
    withPeriod += static_cast<char>(period & 0xFF);
    withPeriod += KANJI_2;
    start(withPeriod.c_str());
    box.DrawUpTo(-1);
    chars = characters();
    ASSERT_EQ(25u, chars.size());
    EXPECT_EQ(period, chars[23].code);
    EXPECT_EQ(632, chars[23].x);
    EXPECT_EQ(70, chars[23].y);
    EXPECT_EQ(80, chars[24].x);
    EXPECT_EQ(110, chars[24].y);

    // A narrow character is wrapped by the full size as well: at x = 620 (620 + 24 > 640).
    glyphs.advances['w'] = 20;
    start("wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww");
    box.DrawUpTo(-1);
    chars = characters();
    EXPECT_EQ(600, chars[26].x);
    EXPECT_EQ(80, chars[27].x);
    // "/" breaks the line.
    start("a/b");
    box.DrawUpTo(-1);
    chars = characters();
    EXPECT_EQ(80, chars[1].x);
    EXPECT_EQ(110, chars[1].y);
}

TEST_F(MsgBoxTest, RubySpreadsOverTheBaseFoundByTheClassChange) {
    // Kana, kana, two kanji, their reading, kana: the anchor moved at the first kanji (class 1 to
    // 0), so the two readings share the two kanji's 48 pixels: 24 each, centred (6 + 12 + 6).
    start(KANA_A KANA_I KANJI_1 KANJI_2 "(" KANA_KA KANA_N ")" KANA_NO);
    box.DrawUpTo(-1);
    auto r = ruby();
    ASSERT_EQ(2u, r.size());
    EXPECT_EQ(134, r[0].x);
    EXPECT_EQ(158, r[1].x);
    EXPECT_EQ(58, r[0].y);  // half a character above the base's cell
    EXPECT_EQ(kGothic, r[0].font);
    EXPECT_EQ(0x82A9u, r[0].code);
    auto chars = characters();
    ASSERT_EQ(5u, chars.size());
    EXPECT_EQ(176, chars[4].x);
}

TEST_F(MsgBoxTest, RubyBarSetsTheAnchor) {
    // With "|" before the second kanji only that kanji is the base.
    start(KANJI_1 "|" KANJI_2 "(" KANA_KA ")" KANA_NO);
    box.DrawUpTo(-1);
    auto r = ruby();
    ASSERT_EQ(1u, r.size());
    EXPECT_EQ(104 + 6, r[0].x);
}

TEST_F(MsgBoxTest, WiderReadingRunsOnFromTheAnchor) {
    start("|" KANJI_1 "(" KANA_KA KANA_N KANA_KA KANA_N ")" KANA_NO);
    box.DrawUpTo(-1);
    auto r = ruby();
    ASSERT_EQ(4u, r.size());
    EXPECT_EQ(80, r[0].x);
    EXPECT_EQ(92, r[1].x);
    EXPECT_EQ(104, r[2].x);
    EXPECT_EQ(116, r[3].x);
}

TEST_F(MsgBoxTest, ReadingWithoutAFollowingCharacterIsNotShown) {
    start(KANJI_1 "(" KANA_KA ")");
    box.DrawUpTo(-1);
    EXPECT_TRUE(ruby().empty());
    EXPECT_EQ(1u, characters().size());
    // In the novel layout a named speaker's closing bracket follows, so the reading shows.
    MsgWindowMode = 1;
    ASSERT_TRUE(box.textCanvas.Create(4, 800, 600));
    box.Clear();
    box.SetText(KANJI_1 "(" KANA_KA ")");
    box.SetSpeaker("Aki", true);
    glyphs.drawn.clear();
    box.DrawUpTo(-1);
    EXPECT_EQ(1u, ruby().size());
}

TEST_F(MsgBoxTest, ReadingSurvivesAPauseBetweenCalls) {
    start(KANJI_1 "(" KANA_KA ")@" KANA_NO);
    box.DrawUpTo(4);  // the kanji
    box.DrawUpTo(5);  // the reading is collected, the pause reaches the target
    EXPECT_TRUE(ruby().empty());
    box.DrawUpTo(-1);
    ASSERT_EQ(1u, ruby().size());
    EXPECT_EQ(80 + 6, ruby()[0].x);
}

TEST_F(MsgBoxTest, EmphasisDotOverEachCharacter) {
    start("a[" KANJI_1 KANJI_2 "]b");
    box.DrawUpTo(-1);
    std::vector<cFakeGlyphs::Drawn> dots;
    for (const auto& d : glyphs.drawn)
        if (d.font == kName) dots.push_back(d);
    ASSERT_EQ(2u, dots.size());
    // Centred over the character: ((before + after - 24) / 2), 18 pixels above the cell top.
    EXPECT_EQ(92, dots[0].x);
    EXPECT_EQ(52, dots[0].y);
    EXPECT_EQ(116, dots[1].x);
    EXPECT_EQ(codeOfText(uiText(UiText::EmphasisDot)), dots[0].code);
    // A narrow character: the dot is centred on its own width.
    start("[a]");
    box.DrawUpTo(-1);
    EXPECT_EQ((80 + 92 - 24) / 2, glyphs.drawn.back().x);
}

TEST_F(MsgBoxTest, FontChoiceAndShadow) {
    struct Case {
        uint8_t choice;
        int kana, kanji;
    } cases[] = {{0, kMincho, kGothic}, {1, kMincho, kMincho}, {2, kGothic, kGothic}, {7, kMincho, kGothic}};
    for (const Case& c : cases) {
        UserSettings.font = c.choice;
        start(KANA_A KANJI_1);
        box.DrawUpTo(-1);
        auto chars = characters();
        ASSERT_EQ(2u, chars.size());
        EXPECT_EQ(c.kana, chars[0].font) << int(c.choice);
        EXPECT_EQ(c.kanji, chars[1].font) << int(c.choice);
    }
    UserSettings.textShadow = 1;
    start("a");
    box.DrawUpTo(-1);
    ASSERT_EQ(2u, glyphs.drawn.size());
    EXPECT_EQ(81, glyphs.drawn[0].x);
    EXPECT_EQ(71, glyphs.drawn[0].y);
    EXPECT_EQ(0, glyphs.drawn[0].r);
    EXPECT_EQ(80, glyphs.drawn[1].x);
    EXPECT_EQ(255, glyphs.drawn[1].r);
}

TEST_F(MsgBoxTest, SpeakerColours) {
    setSpeakerLookups(groupOf, nullptr);
    uint8_t r, g, b;
    speakerColour(r, g, b, "Aki");
    EXPECT_EQ(255, r);  // switch off: white
    UserSettings.speakerColours = 1;
    speakerColour(r, g, b, "Aki");
    EXPECT_EQ(255, r);
    EXPECT_EQ(220, g);
    EXPECT_EQ(250, b);
    speakerColour(r, g, b, "");
    EXPECT_EQ(215, r);
    speakerColour(r, g, b, "Nobody");
    EXPECT_EQ(255, b);
    // The colour applies to the name and the message.
    box.SetText("x");
    box.SetSpeaker("Aki", false);
    box.DrawUpTo(-1);
    for (const auto& d : glyphs.drawn) EXPECT_EQ(220, d.g);
}

TEST_F(MsgBoxTest, PlainTextForTheBacklog) {
    box.SetText("|" KANJI_1 KANJI_2 "(" KANA_KA KANA_N ")" KANA_NO "/ab");
    vstring plain;
    box.GetPlainText(plain);
    EXPECT_STREQ(KANJI_1 KANJI_2 KANA_NO "\nab", plain.c_str());
}

TEST(MsgGameContent, SpeakerGroupsAndVoicePrefixesFromTheConfiguration) {
    cTextBuf file;
    ASSERT_TRUE(file.SetText("[Message.Speaker]\rAki=3\rMio=9\rBad=12\r[Message.Voice]\rak=on\rMI=true\rzz=off\r"));
    mSystemParam::parseConfigFile(file);
    loadMessageContent();
    setDefaultSettings();
    UserSettings.speakerColours = 1;
    uint8_t r, g, b;
    speakerColour(r, g, b, "aki");  // any ASCII case
    EXPECT_EQ(220, g);
    speakerColour(r, g, b, "Mio");
    EXPECT_EQ(150, g);
    speakerColour(r, g, b, "Bad");  // no such group: white
    EXPECT_EQ(255, g);
    // Voice files: the first two bytes name the group.
    UserSettings.femaleVoices = 0;
    UserSettings.maleVoices = 1;
    EXPECT_FALSE(voiceGroupEnabled("ak_0001"));
    EXPECT_FALSE(voiceGroupEnabled("mi_0002"));
    EXPECT_TRUE(voiceGroupEnabled("zz_0003"));
    EXPECT_TRUE(voiceGroupEnabled("xy_0004"));
    EXPECT_TRUE(voiceGroupEnabled("a"));
    EXPECT_TRUE(voiceGroupEnabled(""));
    UserSettings.maleVoices = 0;
    EXPECT_FALSE(voiceGroupEnabled("xy_0004"));
    gConfigRegistry.clear();
    setSpeakerLookups(nullptr, nullptr);
}

TEST(MsgGameContent, NamesAndPrefixesFoldOnlyInSingleByteCharacters) {
    // The speaker 雨 and the voice prefix ア (Shift-JIS 89 4A and 83 41: their second bytes are the
    // letters J and A; 0x89 and 0x83 begin double-byte characters in GBK too).
    cTextBuf file;
    ASSERT_TRUE(file.SetText("[Message.Speaker]\r\x89\x4A" "a=3\r[Message.Voice]\r\x83\x41=on\r"));
    mSystemParam::parseConfigFile(file);
    loadMessageContent();
    setDefaultSettings();
    UserSettings.speakerColours = 1;
    struct Speaker {
        const char* name;
        uint8_t green;
    } speakers[] = {
        {"\x89\x4A" "a", 220},
        {"\x89\x4A" "A", 220},  // the letter after the character folds
        {"\x89\x6A" "a", 255},  // 泳 is someone else
    };
    for (const Speaker& s : speakers) {
        uint8_t r, g, b;
        speakerColour(r, g, b, s.name);
        EXPECT_EQ(s.green, g) << s.name;
    }
    UserSettings.femaleVoices = 0;
    UserSettings.maleVoices = 1;
    EXPECT_FALSE(voiceGroupEnabled("\x83\x41" "_0001"));
    EXPECT_TRUE(voiceGroupEnabled("\x83\x61" "_0001"));  // ヂ: not the prefix ア
    gConfigRegistry.clear();
    setSpeakerLookups(nullptr, nullptr);
}
