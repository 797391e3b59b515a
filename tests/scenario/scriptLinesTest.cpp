#include <string>

#include "scenario/scriptLines.h"
#include "testing.h"

namespace {

TEST(ScriptLines, KindsByFirstByte) {
    const struct {
        const char* line;
        LineKind kind;
    } cases[] = {
        {"?x=1", LineKind::Assignment}, {"{", LineKind::Brace},     {"} tail", LineKind::Brace},
        {";comment", LineKind::Comment}, {"#label", LineKind::Label}, {"", LineKind::Empty},
        {".wait 5", LineKind::Dot},      {"hello", LineKind::Text},  {"\x82\xa0text", LineKind::Text},
        {"\x81?", LineKind::Text},       {" .x", LineKind::Text},    {"/", LineKind::Text},
    };
    for (const auto& c : cases) EXPECT_EQ(c.kind, classifyLine(c.line)) << c.line;
    EXPECT_EQ(LineKind::Empty, classifyLine(nullptr));
}

TEST(ScriptLines, DotLinesCutIntoKeywordAndArguments) {
    const struct {
        const char* text;  // after the first "."
        bool page;
        const char* keyword;
        const char* args;
    } cases[] = {
        {"", true, "", ""},
        {".", true, "", ""},
        {"..", false, ".", ""},
        {"...", false, "..", ""},
        {"wait 500", false, "wait", "500"},
        {"wait500", false, "wait", "500"},
        {"IF(a > 1)", false, "IF", "(a > 1)"},
        {"if \t a  ", false, "if", "a  "},
        {"goto #x", false, "goto", "#x"},
        {" x", false, "", "x"},
        {"CALL sub.txt", false, "CALL", "sub.txt"},
        {"img\tbg 1", false, "img", "bg 1"},
        {".ELSE", false, "ELSE", ""},
    };
    for (const auto& c : cases) {
        DotLine dot = splitDotLine(c.text);
        EXPECT_EQ(c.page, dot.pageMark) << c.text;
        EXPECT_STREQ(c.keyword, dot.keyword.c_str()) << c.text;
        EXPECT_STREQ(c.args, dot.args) << c.text;
    }
    std::string longWord(5000, 'k');
    std::string line = longWord + " arg";
    DotLine dot = splitDotLine(line.c_str());
    EXPECT_EQ(longWord, dot.keyword.c_str());
    EXPECT_STREQ("arg", dot.args);
}

TEST(ScriptLines, KeywordsIgnoreCase) {
    EXPECT_EQ(ScriptKeyword::If, lookupKeyword("if"));
    EXPECT_EQ(ScriptKeyword::Goto, lookupKeyword("Goto"));
    EXPECT_EQ(ScriptKeyword::Goto, lookupKeyword("GOTO"));
    EXPECT_EQ(ScriptKeyword::EndSel, lookupKeyword("EndSel"));
    EXPECT_EQ(ScriptKeyword::Page, lookupKeyword("."));
    EXPECT_EQ(ScriptKeyword::Command, lookupKeyword(".."));
    EXPECT_EQ(ScriptKeyword::Command, lookupKeyword("wait"));
    EXPECT_EQ(ScriptKeyword::Command, lookupKeyword(""));
    EXPECT_EQ(ScriptKeyword::Command, lookupKeyword("IFF"));
}

TEST(ScriptLines, SelectLines) {
    EXPECT_TRUE(isCaseLine(".CASE 1"));
    EXPECT_TRUE(isCaseLine(".case"));
    EXPECT_TRUE(isCaseLine(".CaseX"));
    EXPECT_FALSE(isCaseLine(".CAS"));
    EXPECT_FALSE(isCaseLine("..CASE"));
    EXPECT_TRUE(isEndSelLine(".endsel"));
    EXPECT_FALSE(isEndSelLine(".ENDSEL "));
    EXPECT_TRUE(isElseLine(".Else"));
    EXPECT_FALSE(isElseLine(".ELSE "));
    EXPECT_FALSE(isElseLine(".ELSE{"));
}

TEST(ScriptLines, Labels) {
    EXPECT_TRUE(isLabelLine("#start", "start"));
    EXPECT_TRUE(isLabelLine("#start", "#start"));
    EXPECT_FALSE(isLabelLine("#Start", "start"));
    EXPECT_FALSE(isLabelLine("#start ", "start"));
    EXPECT_TRUE(isLabelLine("#", ""));
    EXPECT_FALSE(isLabelLine("start", "start"));
}

TEST(ScriptLines, CaseNumberLists) {
    const struct {
        const char* args;
        int32_t id;
        bool match;
    } cases[] = {
        {"1", 1, true},         {"1 2 3", 3, true},      {"  2\t3", 3, true},
        {"2x 3", 2, true},      {"2x 3", 3, true},       {"1 a 3", 3, false},
        {"-1", -1, false},      {"", 0, false},          {"0", 0, true},
        {"12", 1, false},       {"99999999999", INT32_MAX, true},
    };
    for (const auto& c : cases) EXPECT_EQ(c.match, caseListMatches(c.args, c.id)) << c.args;
}

TEST(ScriptLines, Assignments) {
    const struct {
        const char* text;
        bool ok;
        const char* name;
        const char* expr;
    } cases[] = {
        {"x=1", true, "x", "1"},
        {"  x = 1 + 2", true, "x", "1 + 2"},
        {"x==3", true, "x", "3"},
        {"x = = 3", true, "x", "3"},
        {"x", false, "", ""},
        {"=5", true, "", "5"},
        {"x y=5", true, "x", "5"},
        {"x=", true, "x", ""},
    };
    for (const auto& c : cases) {
        vstring name;
        const char* expr = nullptr;
        EXPECT_EQ(c.ok, splitAssignment(c.text, name, expr)) << c.text;
        if (c.ok) {
            EXPECT_STREQ(c.name, name.c_str()) << c.text;
            EXPECT_STREQ(c.expr, expr) << c.text;
        }
    }
    vstring name;
    const char* expr;
    std::string atLimit(kMaxAssignmentName, 'n');
    EXPECT_TRUE(splitAssignment((atLimit + "=1").c_str(), name, expr));
    EXPECT_FALSE(splitAssignment((atLimit + "n=1").c_str(), name, expr));
}

}  // namespace
