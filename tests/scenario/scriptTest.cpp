#include <string>
#include <vector>

#include "base/input.h"
#include "base/settings.h"
#include "presentation/msgDisplay.h"
#include "scenario/readflags/readFlags.h"
#include "scenario/script.h"
#include "scenario/scriptLines.h"
#include "scenario/scriptState.h"
#include "scenario/variableStore.h"
#include "scriptHost.h"
#include "testing.h"

namespace {

using Lines = std::vector<std::string>;
using Texts = std::vector<std::string>;

struct ScriptFile {
    const char* name;
    Lines lines;
};

struct Case {
    const char* title;
    std::vector<ScriptFile> files;  // the first one is run
    std::vector<int32_t> answers;
    Texts shown;
    size_t failures;  // failed lines (each costs one poll and a diagnostic)
};

void runCases(const char* hostName, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        ScriptHost host(hostName);
        resetVariableStore();
        setVariableName(VariableKind::Local, 0, "x");
        setVariableName(VariableKind::Local, 1, "n");
        for (const ScriptFile& f : c.files) host.writeScript(f.name, f.lines);
        host.answers.assign(c.answers.begin(), c.answers.end());
        host.run(c.files.front().name);
        EXPECT_EQ(c.shown, host.texts()) << c.title;
        EXPECT_EQ(c.failures, host.lineFailures()) << c.title;
        EXPECT_EQ(static_cast<int>(c.failures), host.polls) << c.title;
    }
    resetVariableStore();
}

TEST(Script, LineKinds) {
    runCases("kinds", {
        {"successive text lines join with a slash", {{"t.txt", {"one", "two", ";", "three"}}}, {},
         {"one/two", "three"}, 0},
        {"every other line kind flushes",
         {{"t.txt", {"a", "{", "b", "}", "c", "#label", "d", "", "e", ";x", "f", "?", "g", ".", "h"}}},
         {}, {"a", "b", "c", "d", "e", "f", "g", "h"}, 1},  // "?" alone has no "="
        {"double-byte text is message text", {{"t.txt", {"\x82\xa0\x82\xa2", ";"}}}, {},
         {"\x82\xa0\x82\xa2"}, 0},
        {"text at the end of the script is shown", {{"t.txt", {";", "last", "lines"}}}, {},
         {"last/lines"}, 0},
        {"unknown table commands fail", {{"t.txt", {".wake 10", ".WAIT", ". x", "....", "done"}}},
         {}, {"done"}, 4},
        {"page lines are no commands", {{"t.txt", {"a", ".", "b", "..", "c", "...", "d"}}}, {},
         {"a", "b", "c", "d"}, 0},
        {"a lone LF does not end a line", {{"t.txt", {"x\ny", ";", "z\n"}}}, {}, {"x\ny", "z\n"}, 0},
        {"keywords in any case", {{"t.txt", {".if 0", "no", ".Goto x", "no", "#x", "yes"}}}, {},
         {"yes"}, 0},
    });
}

TEST(Script, IfAndElse) {
    runCases("if", {
        {"true runs the statement and skips ELSE",
         {{"t.txt", {".IF 1", "A", ".ELSE", "B", ";"}}}, {}, {"A"}, 0},
        {"false skips the statement and steps over ELSE",
         {{"t.txt", {".IF 0", "A", ".ELSE", "B", ";"}}}, {}, {"B"}, 0},
        {"ELSE in any case is stepped over", {{"t.txt", {".IF 0", "A", ".else", "B", ";"}}}, {},
         {"B"}, 0},
        {"ELSE with trailing blanks runs as ELSE and skips the next statement",
         {{"t.txt", {".IF 0", "A", ".ELSE  ", "B", ";", "C"}}}, {}, {"C"}, 0},
        {"braced blocks",
         {{"t.txt", {".IF 0", "{", "A", ";", "B", "}", ".ELSE", "{", "C", ";", "D", "}", "E"}}}, {},
         {"C", "D", "E"}, 0},
        {"nested braces are skipped whole",
         {{"t.txt", {".IF 2 < 1", "{", "{", "A", "}", ".IF 1", "B", "}", "C"}}}, {}, {"C"}, 0},
        {"true braced block then ELSE block skipped",
         {{"t.txt", {".IF 3 > 2 & 1", "{", "A", "}", ".ELSE", "{", "B", "}", "C"}}}, {},
         {"A", "C"}, 0},
        {"no expression is false", {{"t.txt", {".IF", "A", ";", "B"}}}, {}, {"B"}, 0},
        {"parenthesis right after the keyword", {{"t.txt", {".IF(0)", "A", ";", "B"}}}, {}, {"B"}, 0},
        {"an IF as the statement of a false IF skips only that line",
         {{"t.txt", {".IF 0", ".IF 0", "A", ";"}}}, {}, {"A"}, 0},
        {"a false IF at the end fails", {{"t.txt", {"A", ".IF 0", "B"}}}, {}, {"A"}, 1},
        {"a false IF whose block never closes fails", {{"t.txt", {".IF 0", "{", "A"}}}, {}, {}, 1},
        {"a lone ELSE skips one statement", {{"t.txt", {".ELSE", "A", "B"}}}, {}, {"B"}, 0},
    });
}

TEST(Script, Goto) {
    runCases("goto", {
        {"first label from the top wins",
         {{"t.txt", {"A", ".GOTO x", "B", "#x", "C", "#x", "D"}}}, {}, {"A", "C", "D"}, 0},
        {"a leading # of the label is dropped", {{"t.txt", {".GOTO #x", "B", "#x", "C"}}}, {}, {"C"}, 0},
        {"labels match by case and trailing blanks",
         {{"t.txt", {".GOTO X", "A", ";", ".GOTO X ", "B", "#x", "C", "#X ", "D"}}}, {}, {"A", "D"}, 1},
        {"a missing label goes on after the GOTO", {{"t.txt", {".GOTO nowhere", "B"}}}, {}, {"B"}, 1},
        {"no label goes to the first lone #",
         {{"t.txt", {".GOTO", "A", "#a", "B", "#", "C"}}}, {}, {"C"}, 0},
        {"backward jump with a counter",
         {{"t.txt", {"?n = 0", "#loop", "?n = n + 1", ".IF n < 3", ".GOTO loop", "done"}}}, {},
         {"done"}, 0},
    });
}

TEST(Script, SelectAndCase) {
    const Lines select = {".SELECT",  "first",  "; not an option", "",      "second", "#third",
                          ".CASE 1",  "one",    ".CASE 2 3",       "twoOrThree", ".ENDSEL", "end"};
    runCases("select", {
        {"option 1", {{"t.txt", select}}, {1}, {"one", "end"}, 0},
        {"option 2", {{"t.txt", select}}, {2}, {"twoOrThree", "end"}, 0},
        {"option 3 is the label line", {{"t.txt", select}}, {3}, {"twoOrThree", "end"}, 0},
        {"no option taken", {{"t.txt", select}}, {0}, {"end"}, 0},
        {"a nested select in braces is skipped whole when its case does not match",
         {{"t.txt", {".SELECT", "a", "b", ".CASE 1", "{", ".SELECT", "x", ".CASE 1", "inner", ".ENDSEL",
                     "}", ".CASE 2", "outer2", ".ENDSEL", "end"}}},
         {2}, {"outer2", "end"}, 0},
        {"the nested select runs when its case matches",
         {{"t.txt", {".SELECT", "a", "b", ".CASE 1", "{", ".SELECT", "x", ".CASE 1", "inner", ".ENDSEL",
                     "}", ".CASE 2", "outer2", ".ENDSEL", "end"}}},
         {1, 1}, {"inner", "end"}, 0},
        {"case words must begin with digits",
         {{"t.txt", {".SELECT", "a", "b", ".CASE x 2", "no", ".CASE 2x", "yes", ".ENDSEL"}}}, {2},
         {"yes"}, 0},
        {"a select without CASE fails", {{"t.txt", {".SELECT", "a", "b"}}}, {1}, {}, 1},
        {"a case scan past the end fails", {{"t.txt", {".SELECT", "a", ".CASE 2", "x"}}}, {1}, {}, 1},
    });

    ScriptHost host("select-options");
    host.writeScript("t.txt", {".SELECT map01 extra", "icon1 place1 1", "; c", "", "icon2 place2",
                               ".CASE 2", "two", ".ENDSEL"});
    setMsgWindowMode(2);
    host.answers = {2};
    host.run("t.txt");
    EXPECT_EQ((std::vector<std::string>{"map01 extra"}), host.choiceBegins);
    ASSERT_EQ(2u, host.options.size());
    EXPECT_EQ(1, host.options[0].first);
    EXPECT_EQ("icon1 place1 1", host.options[0].second);
    EXPECT_EQ(2, host.options[1].first);
    EXPECT_EQ("icon2 place2", host.options[1].second);
    // SELECT in a novel mode goes back to adv, and stays there.
    EXPECT_EQ(0, MsgWindowMode);
    ASSERT_EQ(1u, host.shown.size());
    EXPECT_EQ(0, host.shown[0].mode);
}

TEST(Script, CallLoadAndExit) {
    runCases("call", {
        {"a call runs the child and returns after the CALL line",
         {{"t.txt", {"A", ".CALL sub.txt", "C"}}, {"sub.txt", {"B"}}}, {}, {"A", "B", "C"}, 0},
        {"a missing script returns at once", {{"t.txt", {"A", ".CALL none.txt", "C"}}}, {},
         {"A", "C"}, 0},
        {"EXIT ends the level", {{"t.txt", {".CALL sub.txt", "C"}}, {"sub.txt", {"B", ".EXIT", "never"}}},
         {}, {"B", "C"}, 0},
        {"EXIT at the root ends the script", {{"t.txt", {"A", ".exit", "never"}}}, {}, {"A"}, 0},
        {"LOAD replaces the script and starts at its top",
         {{"t.txt", {"A", ".LOAD other.txt", "never"}}, {"other.txt", {"X", ".CALL sub.txt", "Z"}},
          {"sub.txt", {"Y"}}},
         {}, {"A", "X", "Y", "Z"}, 0},
        {"LOAD of a missing script ends the level", {{"t.txt", {".CALL sub.txt", "after"}},
                                                      {"sub.txt", {"A", ".LOAD none.txt", "never"}}},
         {}, {"A", "after"}, 1},
        {"variables cross levels", {{"t.txt", {"?x = 2", ".CALL sub.txt", ".IF x > 5", "big"}},
                                    {"sub.txt", {"?x = x * 3"}}},
         {}, {"big"}, 0},
    });
}

TEST(Script, ShowsTheLevelsOfTheChain) {
    ScriptHost host("levels");
    host.writeScript("t.txt", {"root", ".CALL a.txt", "root again"});
    host.writeScript("a.txt", {"one", ".CALL b.txt", "one again"});
    host.writeScript("b.txt", {"two"});
    host.run("t.txt");
    ASSERT_EQ(5u, host.shown.size());
    const int levels[] = {1, 2, 3, 2, 1};
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(levels[i], host.shown[i].levels) << i;
    EXPECT_EQ(nullptr, rootScript().Child());
    EXPECT_STREQ("", rootScript().Name());  // the level is cleared when its lines run out
}

TEST(Script, CallDepthIsCapped) {
    ScriptHost host("recursion");
    host.writeScript("self.txt", {"level", ".CALL self.txt", "back"});
    host.run("self.txt");
    size_t expected = static_cast<size_t>(kMaxCallLevels);
    ASSERT_EQ(2 * expected, host.shown.size());
    EXPECT_EQ(kMaxCallLevels, host.shown[expected - 1].levels);
    EXPECT_EQ(1u, host.lineFailures());  // the CALL of the deepest level fails
    EXPECT_EQ(1, host.polls);
}

TEST(Script, Assignments) {
    ScriptHost host("assign");
    setVariableName(VariableKind::Local, 0, "x");
    setVariableName(VariableKind::Local, 1, "y");
    setVariableName(VariableKind::Seen, 0, "seen");
    std::string longName(kMaxAssignmentName + 1, 'n');
    setVariableName(VariableKind::Local, 2, longName.c_str());
    host.writeScript("t.txt", {"?x = 1 + 2 * 3", "?  y==x", "?x", "?=5", "?seen = 1",
                               "?" + longName + " = 4", "?x = x / 0"});
    host.run("t.txt");
    EXPECT_EQ(9, getVariable("x"));
    EXPECT_EQ(9, getVariable("y"));
    EXPECT_EQ(0, getVariable("seen"));
    EXPECT_EQ(0, variableValues(VariableKind::Local)[2]);
    // "?x" and the long name fail as lines; "?=5" and "?seen" give the unknown-name diagnostic,
    // "x / 0" the expression diagnostic (the partial value 9 is assigned).
    EXPECT_EQ(2, host.polls);
    EXPECT_EQ(2u, host.lineFailures());
    EXPECT_EQ(2u, host.diagnosticsOf(UiText::DiagUndefinedVariable).size());
    EXPECT_EQ(1u, host.diagnosticsOf(UiText::DiagExpressionFailed).size());
    resetVariableStore();
}

TEST(Script, FailedLineDiagnosticNamesScriptAndLine) {
    ScriptHost host("diag");
    host.writeScript("t.txt", {";", ";", ".nothing"});
    host.run("t.txt");
    ASSERT_EQ(1u, host.lineFailures());
    EXPECT_NE(std::string::npos, host.diagnosticsOf(UiText::DiagScriptLineFailed)[0].find("t.txt:3"));
}

TEST(Script, SavePointsInAdvAndNovelModes) {
    const Lines lines = {"A", ";", "B", ".", "C", "...", "D", ";", ".GOTO x", "#x", "E", ".."};
    //                   0    1    2    3    4    5      6    7    8          9     10   11
    const struct {
        uint8_t mode;
        std::vector<int32_t> atShow;
    } cases[] = {
        {0, {0, 1, 4, 5, 10}},
        {1, {0, 0, 4, 5, 10}},  // novel: only page lines and jumps move it
        {2, {0, 0, 4, 5, 10}},
        {4, {0, 1, 4, 5, 10}},
    };
    for (const auto& c : cases) {
        ScriptHost host("savepoints");
        host.writeScript("t.txt", lines);
        setMsgWindowMode(c.mode);
        host.run("t.txt");
        std::vector<int32_t> atShow;
        for (const ShownMessage& m : host.shown) atShow.push_back(m.savePoint);
        EXPECT_EQ(c.atShow, atShow) << int(c.mode);
        EXPECT_EQ(5u, host.shown.size());
    }
}

TEST(Script, SavePointAfterTheTextIsShown) {
    ScriptHost host("savepoint-after");
    host.writeScript("t.txt", {"A", ";", "B", ";", ".CALL sub.txt"});
    host.writeScript("sub.txt", {"S", ";"});
    std::vector<int32_t> seen;
    host.onShow = [&](size_t, const std::string&) { seen.push_back(rootScript().SavePoint()); };
    host.run("t.txt");
    // While B waits the root still resumes at line 1; the CALL moves it past the CALL line.
    EXPECT_EQ((std::vector<int32_t>{0, 1, 5}), seen);
}

TEST(Script, AbortDuringAShowUnwindsEveryLevel) {
    ScriptHost host("abort");
    setVariableName(VariableKind::Local, 0, "x");
    host.writeScript("t.txt", {"A", ".CALL sub.txt", "after"});
    host.writeScript("sub.txt", {"B", "?x = 1", "C", ";"});
    host.onShow = [](size_t, const std::string& text) {
        if (text == "B") scriptAbortFlag = 1;
    };
    host.run("t.txt");
    EXPECT_EQ((Texts{"A", "B"}), host.texts());
    EXPECT_EQ(0, getVariable("x"));  // the assignment after the flush is not executed
    EXPECT_EQ(0u, host.lineFailures());
    // The root level is not cleared by an abort (the next start loads into it); its child is gone.
    EXPECT_STREQ("t.txt", rootScript().Name());
    EXPECT_EQ(nullptr, rootScript().Child());
    resetVariableStore();
}

TEST(Script, AbortedScriptDoesNotShowItsLastText) {
    ScriptHost host("abort-last");
    host.writeScript("t.txt", {"A", ";", "B"});
    host.onShow = [](size_t, const std::string&) { scriptAbortFlag = 1; };
    host.run("t.txt");
    EXPECT_EQ((Texts{"A"}), host.texts());
}

TEST(Script, QuitEndsTheRun) {
    ScriptHost host("quit");
    host.writeScript("t.txt", {"A", ".QUIT", "B", ";"});
    host.quitAtPoll = 1;  // the close goes through: the failure poll sees quit
    host.run("t.txt");
    EXPECT_EQ((Texts{"A"}), host.texts());
    EXPECT_EQ(0u, host.lineFailures());

    ScriptHost refused("quit-refused");
    refused.writeScript("t.txt", {"A", ".QUIT", "B", ";"});
    refused.run("t.txt");  // no close: QUIT is a failed line and the script goes on
    EXPECT_EQ((Texts{"A", "B"}), refused.texts());
    EXPECT_EQ(1u, refused.lineFailures());
}

TEST(Script, QuitSeenByThePumpDropsPendingText) {
    ScriptHost host("quit-pump");
    host.writeScript("t.txt", {"A", ";", "B"});
    host.onShow = [](size_t, const std::string&) { gQuitReceived = 1; };
    host.run("t.txt");
    EXPECT_EQ((Texts{"A"}), host.texts());
}

TEST(Script, UnreadTextEndsSkipModeUnlessSkipAll) {
    for (uint8_t skipAll : {uint8_t(0), uint8_t(1)}) {
        ScriptHost host("skip");
        host.writeScript("t.txt", {"A", ";"});
        uint8_t saved = UserSettings.skipAll;
        UserSettings.skipAll = skipAll;
        setSkipMode();
        host.run("t.txt");
        EXPECT_EQ(skipAll != 0, isSkipping()) << int(skipAll);
        ASSERT_EQ(1u, host.shown.size());
        EXPECT_FALSE(host.shown[0].read);
        UserSettings.skipAll = saved;
    }
}

TEST(Script, ReadTextRangesOfJumpsAndCalls) {
    ScriptHost host("read-ranges");
    // Lines: 1 A, 2 ;, 3 .GOTO x, 4 B, 5 #x, 6 C, 7 ;, 8 .CALL c.txt, 9 D, 10 ;
    host.writeScript("t.txt", {"A", ";", ".GOTO x", "B", "#x", "C", ";", ".CALL c.txt", "D", ";"});
    host.writeScript("c.txt", {"E", ";", "F", ";"});
    host.run("t.txt");
    EXPECT_EQ((Texts{"A", "C", "E", "F", "D"}), host.texts());
    mReadFlags::commit();
    using Ranges = std::vector<mReadFlags::cSeqNode>;
    // The GOTO splits the caller's text; the CALL commits the caller's pending lines first, so the
    // text after the return starts a range of its own.
    ASSERT_NE(nullptr, mReadFlags::tableEntry("t.txt"));
    EXPECT_EQ((Ranges{{2, 2}, {7, 7}, {10, 10}}), *mReadFlags::tableEntry("t.txt"));
    ASSERT_NE(nullptr, mReadFlags::tableEntry("c.txt"));
    EXPECT_EQ((Ranges{{2, 4}}), *mReadFlags::tableEntry("c.txt"));
}

TEST(Script, SecondRunSkipsReadTextAndStopsAtTheFirstUnread) {
    ScriptHost host("read-twice");
    host.writeScript("t.txt", {"A", ";", "B", ";"});
    host.run("t.txt");
    mReadFlags::commit();
    // The script grows; skip mode stays on over read text and ends at the first unread block.
    host.writeScript("t.txt", {"A", ";", "B", ";", "C", ";", "D", ";"});
    host.shown.clear();
    std::vector<bool> skipping;
    host.onShow = [&skipping](size_t, const std::string&) { skipping.push_back(isSkipping()); };
    setSkipMode();
    host.run("t.txt");
    ASSERT_EQ(4u, host.shown.size());
    EXPECT_EQ((std::vector<bool>{true, true, false, false}),
              (std::vector<bool>{host.shown[0].read, host.shown[1].read, host.shown[2].read,
                                 host.shown[3].read}));
    EXPECT_EQ((std::vector<bool>{true, true, false, false}), skipping);
}

TEST(Script, RandomLinesNeverCrash) {
    const char* pieces[] = {".IF 0", ".IF 1", ".ELSE", "{", "}", ".GOTO a", "#a", ".SELECT",
                            ".CASE 1", ".CASE 2", ".ENDSEL", "text", ";", "", "?x = x + 1",
                            ".CALL r.txt", ".", "...", ".EXIT", "#", ".GOTO", ".LOAD r2.txt"};
    uint32_t seed = 99;
    for (int round = 0; round < 60; ++round) {
        ScriptHost host("random");
        Lines a, b;
        for (int i = 0; i < 30; ++i) {
            seed = seed * 1103515245u + 12345u;
            a.push_back(pieces[(seed >> 16) % (sizeof pieces / sizeof *pieces)]);
            seed = seed * 1103515245u + 12345u;
            b.push_back(pieces[(seed >> 16) % (sizeof pieces / sizeof *pieces)]);
        }
        // A backward GOTO may loop for ever: the host ends the run after many polls or shows.
        host.writeScript("r.txt", a);
        host.writeScript("r2.txt", b);
        host.answers = {1, 2, 0, 1};
        host.onShow = [](size_t index, const std::string&) {
            if (index > 500) scriptAbortFlag = 1;
        };
        host.quitAtPoll = 500;
        host.quitAtPump = 100000;
        host.run("r.txt");
    }
}

}  // namespace
