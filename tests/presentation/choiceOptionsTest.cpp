// The options of a choice: map definition files read line by line (hostile lines included),
// option lines with their show and enable conditions, the rows and texts of text options.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/moduleState.h"
#include "fakeGlyphs.h"
#include "files/textBuf.h"
#include "presentation/choiceScreens.h"
#include "scenario/variableStore.h"
#include "spotFixtures.h"
#include "testing.h"

using namespace spotTest;

namespace {
class ChoiceOptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetEngineState();
        install();
        setTextGlyphs(&glyphs);
        images()["sys_select_item.png"] = strip(600, 60, 3);
        images()["icon.png"] = strip(30, 30, 4);
        images()["icon3.png"] = strip(30, 30, 3);
        images()["over.png"] = plain(10, 10, kOverlayColour);
    }
    void TearDown() override {
        setTextGlyphs(nullptr);
        uninstall();
        resetEngineState();
    }
    static void readMap(const std::string& text) {
        mSpots::ClearChoices();
        cTextBuf lines;
        lines.SetText(text.c_str());
        mSpots::ReadMapDefinition(lines);
    }
    static const mSpots::cIconNode* icon(const char* name) {
        auto it = gIconTable.find(internString(name));
        return it == gIconTable.end() ? nullptr : &it->second;
    }
    static const mSpots::cPlaceNode* place(const char* name) {
        auto it = gPlaceTable.find(internString(name));
        return it == gPlaceTable.end() ? nullptr : &it->second;
    }
    cFakeGlyphs glyphs;
};
}  // namespace

TEST_F(ChoiceOptionsTest, MapLinesHostileOrNot) {
    struct Case {
        const char* line;
        const char* name;  // the entry expected, null for none
        bool isIcon;
        int32_t n1, n2;   // icon: frames; place: x, y
        const char* text;  // icon: image; place: overlay
        int32_t ox, oy;
    };
    const Case cases[] = {
        {"ICON:a 4 a.png", "a", true, 4, 0, "a.png", 0, 0},
        {"icon:b 3 b.png", "b", true, 3, 0, "b.png", 0, 0},
        {"Place:c 10 20 o.png 30 40", "c", false, 10, 20, "o.png", 30, 40},
        {";ICON:d 4 d.png", nullptr, true, 0, 0, "", 0, 0},
        {"ICON d 4 d.png", nullptr, true, 0, 0, "", 0, 0},
        {"ICON :e 4 e.png", nullptr, true, 0, 0, "", 0, 0},
        {"ICONS:f 4 f.png", nullptr, true, 0, 0, "", 0, 0},
        {"OTHER:g 4 g.png", nullptr, true, 0, 0, "", 0, 0},
        {"ICON:h", "h", true, 0, 0, "", 0, 0},
        {"PLACE:i 5", "i", false, 5, 0, "", 0, 0},
        {"ICON:j 12ab j.png", "j", true, 12, 0, "j.png", 0, 0},
        {"PLACE:k 99999999999 -99999999999 o.png x7 -3", "k", false, INT32_MAX, INT32_MIN, "o.png", 0, -3},
        {"ICON:l -2 l.png", "l", true, -2, 0, "l.png", 0, 0},
        {"PLACE:m\t1\t2", "m", false, 1, 2, "", 0, 0},
        {"ICON:n 4 n.png extra words", "n", true, 4, 0, "n.png", 0, 0},
        {"ICON:o:p 4 q.png", "o:p", true, 4, 0, "q.png", 0, 0},
        {"PLACE:\x8a\xbf\x8e\x9a 7 8", "\x8a\xbf\x8e\x9a", false, 7, 8, "", 0, 0},
        {"ICON:\x8a\xbf\x8e\x9a 2 kanji.png", "\x8a\xbf\x8e\x9a", true, 2, 0, "kanji.png", 0, 0},
        {"ICON:", "", true, 0, 0, "", 0, 0},
        {"", nullptr, true, 0, 0, "", 0, 0},
        {":", nullptr, true, 0, 0, "", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        mSpots::ClearChoices();
        mSpots::ReadMapLine(c.line);
        if (!c.name) {
            EXPECT_TRUE(gIconTable.empty());
            EXPECT_TRUE(gPlaceTable.empty());
            continue;
        }
        EXPECT_EQ(c.isIcon ? 1u : 0u, gIconTable.size());
        EXPECT_EQ(c.isIcon ? 0u : 1u, gPlaceTable.size());
        if (c.isIcon) {
            const mSpots::cIconNode* i = icon(c.name);
            ASSERT_NE(nullptr, i);
            EXPECT_EQ(c.n1, i->frames);
            EXPECT_STREQ(c.text, i->image.c_str());
        } else {
            const mSpots::cPlaceNode* p = place(c.name);
            ASSERT_NE(nullptr, p);
            EXPECT_EQ(c.n1, p->x);
            EXPECT_EQ(c.n2, p->y);
            EXPECT_STREQ(c.text, p->overlay.c_str());
            EXPECT_EQ(c.ox, p->ox);
            EXPECT_EQ(c.oy, p->oy);
        }
    }
    // A NUL ends the line where it stands; a 10,000-byte line is read like any other.
    mSpots::ClearChoices();
    const std::string withNul("ICON:z 4 z.png\0 9 w.png", 23);
    mSpots::ReadMapLine(withNul.c_str());
    ASSERT_NE(nullptr, icon("z"));
    EXPECT_STREQ("z.png", icon("z")->image.c_str());
    const std::string longName(10000 - 12, 'x');
    mSpots::ReadMapLine(("ICON:" + longName + " 3 y.png").c_str());
    ASSERT_NE(nullptr, icon(longName.c_str()));
    EXPECT_EQ(3, icon(longName.c_str())->frames);
    mSpots::ReadMapLine(nullptr);
}

TEST_F(ChoiceOptionsTest, AWholeFileLaterDefinitionsWinAndNamesIgnoreCase) {
    readMap("; a map\r\n"
            "ICON:Home 4 icon.png\r\n"
            "  PLACE:Park 10 20\r\n"
            "PLACE:park 30 40 over.png 50 60\r\n"
            "icon:HOME 3 icon3.png\r\n");
    ASSERT_NE(nullptr, icon("home"));
    EXPECT_EQ(3, icon("hOmE")->frames);
    EXPECT_STREQ("icon3.png", icon("home")->image.c_str());
    ASSERT_NE(nullptr, place("PARK"));
    EXPECT_EQ(30, place("Park")->x);
    EXPECT_STREQ("over.png", place("park")->overlay.c_str());
    EXPECT_EQ(1u, gIconTable.size());
    EXPECT_EQ(1u, gPlaceTable.size());
}

TEST_F(ChoiceOptionsTest, MapOptionsShownDisabledAndDropped) {
    readMap("ICON:a 4 icon.png\r\nICON:b 3 icon3.png\r\nICON:gone 4 missing.png\r\n"
            "PLACE:p1 10 10\r\nPLACE:p2 100 10 over.png 0 0\r\nPLACE:p3 200 10 nothing.png 0 0\r\n");
    gMapChoice = 1;
    EXPECT_TRUE(addChoiceOption(1, "a p1"));
    EXPECT_TRUE(addChoiceOption(2, "a p2 1 0"));      // shown disabled
    EXPECT_TRUE(addChoiceOption(3, "a p1 0"));        // dropped
    EXPECT_TRUE(addChoiceOption(4, "b p2 2-1 1"));    // both conditions true
    EXPECT_FALSE(addChoiceOption(5, "undefined p1"));  // not added
    EXPECT_FALSE(addChoiceOption(6, "a nowhere"));
    EXPECT_FALSE(addChoiceOption(7, "a p3 1 0"));      // overlay missing: slot taken, disabled
    EXPECT_FALSE(addChoiceOption(8, "gone p1"));       // icon image missing: slot taken
    ASSERT_EQ(5u, gChoiceSpots.count);
    const struct {
        uint32_t id;
        int32_t x, frames;
        bool disabled, overlay;
    } want[] = {{1, 10, 4, false, false}, {2, 100, 4, true, true}, {4, 100, 3, false, true},
                {7, 200, 4, true, false}, {8, 10, 4, false, false}};
    for (uint32_t i = 0; i < 5; ++i) {
        const auto& s = gChoiceSpots.spots[i];
        EXPECT_EQ(want[i].id, s.id) << i;
        EXPECT_EQ(want[i].x, s.x) << i;
        EXPECT_EQ(want[i].frames, s.frames) << i;
        EXPECT_EQ(want[i].disabled, s.disabled != 0) << i;
        EXPECT_EQ(want[i].overlay, s.overlay.HasPixels()) << i;
    }
    // The disabled option with the missing overlay takes no click.
    gMousePos = {205, 15};
    EXPECT_EQ(-1, gChoiceSpots.HitTest());
    gMousePos = {105, 15};
    EXPECT_EQ(4, gChoiceSpots.HitTest());  // 2 is disabled; 4 lies at the same place
    // No text choice: nothing was written into the canvas rows.
    EXPECT_EQ(0u, gChoiceCount);
}

TEST_F(ChoiceOptionsTest, TextOptionsNumberedRowsAndCentredTexts) {
    setVariableName(VariableKind::Local, 0, "seen");
    mSpots::ResetChoiceCanvas();
    gMapChoice = 0;
    EXPECT_TRUE(addChoiceOption(1, "Go"));
    EXPECT_TRUE(addChoiceOption(2, "Stay seen"));  // seen = 0: dropped
    EXPECT_TRUE(addChoiceOption(3, "Leave 1 ignored words"));
    ASSERT_EQ(2u, gChoiceSpots.count);
    EXPECT_EQ(2u, gChoiceCount);
    EXPECT_EQ(1u, gChoiceSpots.spots[0].id);
    EXPECT_EQ(3u, gChoiceSpots.spots[1].id);
    EXPECT_EQ(100, gChoiceSpots.spots[0].x);
    EXPECT_EQ(160, gChoiceSpots.spots[0].y);
    EXPECT_EQ(230, gChoiceSpots.spots[1].y);
    EXPECT_EQ(3, gChoiceSpots.spots[1].frames);
    // Texts: x = (600 - 13 x bytes) / 2, y = 20 + 70 x row, white, size 26.
    const auto white = glyphs.Coloured(255, 255, 255);
    ASSERT_EQ(7u, white.size());
    EXPECT_EQ((600 - 13 * 2) / 2, white[0].x);
    EXPECT_EQ(20, white[0].y);
    EXPECT_EQ((600 - 13 * 5) / 2, white[2].x);
    EXPECT_EQ(90, white[2].y);
    EXPECT_EQ(26, glyphs.fonts.back().spec.height);
    // Taking the second row gives option 3.
    gMousePos = {300, 240};
    EXPECT_EQ(3, gChoiceSpots.HitTest());
}

TEST_F(ChoiceOptionsTest, TextWidthsDoubleByteAndTooWide) {
    mSpots::ResetChoiceCanvas();
    const struct {
        std::string text;
        int32_t x;
    } cases[] = {
        {"", 300},
        {"\x8a\xbf\x8e\x9a", (600 - 13 * 4) / 2},
        {std::string(46, 'w'), 1},
        {std::string(47, 'w'), 0},
        {std::string(5000, 'w'), 0},
    };
    for (const auto& c : cases) {
        glyphs.drawn.clear();
        const uint32_t row = gChoiceCount;
        mSpots::AddTextChoice(int32_t(row) + 1, c.text.c_str());
        if (c.text.empty()) {
            EXPECT_TRUE(glyphs.drawn.empty());
            continue;
        }
        ASSERT_FALSE(glyphs.drawn.empty());
        EXPECT_EQ(c.x, glyphs.drawn[0].x) << c.text.size();
        EXPECT_EQ(20 + 70 * int32_t(row), glyphs.drawn[0].y);
    }
    // Rows beyond the canvas get buttons below it and no visible text; more than 50 get none.
    for (int i = 0; i < 60; ++i) mSpots::AddTextChoice(100 + i, "x");
    EXPECT_EQ(50u, gChoiceSpots.count);
    EXPECT_EQ(65u, gChoiceCount);
}

TEST_F(ChoiceOptionsTest, ResetAndClear) {
    mSpots::ClearChoices();  // no canvas yet: nothing to clear
    EXPECT_FALSE(gChoiceCanvas.HasPixels());
    mSpots::ResetChoiceCanvas();
    ASSERT_TRUE(gChoiceCanvas.HasPixels());
    EXPECT_EQ(600, gChoiceCanvas.width);
    EXPECT_EQ(420, gChoiceCanvas.height);
    EXPECT_EQ(4, gChoiceCanvas.bytesPerPixel);
    mSpots::AddTextChoice(1, "abc");
    bool drawn = false;
    for (uint64_t i = 0; i < gChoiceCanvas.ByteCount(); ++i) drawn |= gChoiceCanvas.pixels[i] != 0;
    EXPECT_TRUE(drawn);
    readMap("ICON:a 1 icon.png\r\n");
    EXPECT_EQ(1u, gIconTable.size());
    mSpots::ClearChoices();
    EXPECT_EQ(0u, gChoiceCount);
    EXPECT_EQ(0u, gChoiceSpots.count);
    EXPECT_TRUE(gIconTable.empty());
    ASSERT_TRUE(gChoiceCanvas.HasPixels());
    for (uint64_t i = 0; i < gChoiceCanvas.ByteCount(); ++i) ASSERT_EQ(0, gChoiceCanvas.pixels[i]);
}

TEST_F(ChoiceOptionsTest, TheBarsButton) {
    images()["sys_box_config.png"] = strip(40, 20, 3);
    mSpots::InitSystemButtons();
    mSpots::InitSystemButtons();
    ASSERT_EQ(1u, gSystemSpots.count);
    EXPECT_EQ(22u, gSystemSpots.spots[0].id);
    EXPECT_EQ(548, gSystemSpots.spots[0].x);
    EXPECT_EQ(572, gSystemSpots.spots[0].y);
    EXPECT_EQ(3, gSystemSpots.spots[0].frames);
    EXPECT_EQ("sys_box_config.png", loads().back());
}
