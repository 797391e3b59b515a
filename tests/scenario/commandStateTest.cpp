// The script commands with the real callees that are cheap to run (chapter strings, display mode,
// voice folder, seen flags, local variables, the screen canvases), and hostile arguments.
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/realCallees.h"
#include "base/displayMode.h"
#include "base/settings.h"
#include "commandRecorder.h"
#include "graphics/screen.h"
#include "media/sound.h"
#include "presentation/backlog.h"
#include "scenario/commandTable.h"
#include "scenario/scriptState.h"
#include "scenario/variables.h"
#include "screenSizeGuard.h"
#include "scriptHost.h"
#include "testing.h"
#ifndef MORVANE_EARLIER
#include "flow/flowRecord.h"
#endif

namespace {

using Calls = std::vector<std::string>;
constexpr uint32_t kSaveSeed = 0xF2C9;

// The real table, with the waits and everything that would play, show or block recorded.
void useRealCallees(CommandRecorder& recorder) {
    recorder.useRealScriptState();
    const CommandCallees& real = realCommandCallees();
    CommandCallees& t = recorder.table;
    t.setPendingVoice = real.setPendingVoice;
    t.flowResetAll = real.flowResetAll;
    t.flowResetRoute = real.flowResetRoute;
}

std::string seenFlags(const ScriptHost& host) {
    return scrambleBytes(readWholeFile(host.saveFolder + "flagdata.001"), kSaveSeed);
}

TEST(CommandState, ChapterStrings) {
    ScriptHost host("chapter");
    CommandRecorder recorder;
    useRealCallees(recorder);
    host.onShow = [](size_t index, const std::string&) {
        if (index == 0) {
            EXPECT_STREQ("2004/7/15", gChapterDate.c_str());
            EXPECT_STREQ("", gChapterName.c_str());
        } else if (index == 1) {
            EXPECT_STREQ("2004/7/15", gChapterDate.c_str());
            EXPECT_STREQ("First", gChapterName.c_str());
        } else if (index == 2) {
            EXPECT_STREQ("", gChapterDate.c_str());
            EXPECT_STREQ("First", gChapterName.c_str());
        } else {
            EXPECT_STREQ("", gChapterName.c_str());
        }
    };
    host.writeScript("t.txt", {".date 2004/7/15", "a", ".chapter First Words", "b", ".date", "c",
                               ".chapter", "d"});
    host.run("t.txt");
    EXPECT_EQ(4u, host.shown.size());
    EXPECT_EQ(0u, host.lineFailures());
}

TEST(CommandState, DisplayMode) {
    ScriptHost host("command-mode");  // test_scenario runs beside it in this folder with a "mode"
    CommandRecorder recorder;
    useRealCallees(recorder);
    host.writeScript("t.txt", {".mode novel", "a", ".mode novel3", "b", ".mode SYSTEM", ".mode ADV",
                               "c", ".mode demo"});
    host.run("t.txt");
    ASSERT_EQ(3u, host.shown.size());
    EXPECT_EQ(kModeNovel, host.shown[0].mode);
    EXPECT_EQ(kModeNovel, host.shown[1].mode);
    EXPECT_EQ(kModeAdv, host.shown[2].mode);
    EXPECT_EQ(kModeDemo, MsgWindowMode);
}

TEST(CommandState, VoiceFolder) {
    ScriptHost host("voicefolder");
    CommandRecorder recorder;
    useRealCallees(recorder);
    host.onShow = [](size_t index, const std::string&) {
        EXPECT_STREQ(index == 0 ? "v01" : "", gVoiceFolder.c_str()) << index;
    };
    host.writeScript("t.txt", {".voice \\v01", "a", ".voice \\", "b"});
    host.run("t.txt");
    EXPECT_EQ(2u, host.shown.size());
    EXPECT_EQ(0u, host.lineFailures());
}

TEST(CommandState, PendingVoiceOfTheBacklog) {
    ScriptHost host("pendingvoice");
    CommandRecorder recorder;
    useRealCallees(recorder);
    // A ghost voice is remembered but not played; a switched-off one is neither (the voices are
    // off while the third text is prepared).
    host.onShow = [](size_t index, const std::string&) {
        const char* const expected[] = {"v01\\a001", "v01\\a002", "v01\\a002", "a003"};
        EXPECT_STREQ(expected[index], mLogBox::pendingVoice()) << index;
        UserSettings.maleVoices = index == 1 ? 0 : 1;
    };
    host.writeScript("t.txt", {".voice \\v01", ".voice a001", "a", ".voice a002 ghost", "b",
                               ".voice a009", "c", ".voice \\", ".voice a003 ghost", "d"});
    host.run("t.txt");
    EXPECT_EQ(4u, host.shown.size());
    EXPECT_EQ(Calls({"isSkipping()", "playVoice(v01\\a001)", "isSkipping()", "isSkipping()"}),
              recorder.calls);
    EXPECT_EQ(1u, host.lineFailures());
}

#ifndef MORVANE_EARLIER
TEST(CommandState, FlowRecordResets) {
    ScriptHost host("flowresets");
    host.writeDataFile("flow\\checklist.txt", "a\r\nb\r\n");
    loadFlowChecklist();
    CommandRecorder recorder;
    useRealCallees(recorder);
    auto visitBoth = [] {
        flowVisit("a");
        flowVisit("b");
    };
    visitBoth();
    host.writeScript("t.txt", {".custom"});
    host.run("t.txt");
    EXPECT_EQ(2u, flowRecord().VN.size());
    EXPECT_EQ(1u, flowRecord().VL.size());
    EXPECT_TRUE(flowRecord().AN.empty());
    EXPECT_TRUE(flowRecord().AL.empty());
    EXPECT_STREQ("", flowRecord().LastNode.c_str());

    visitBoth();
    host.writeScript("t.txt", {".reset"});
    host.run("t.txt");
    EXPECT_TRUE(flowRecord().VN.empty());
    EXPECT_TRUE(flowRecord().VL.empty());
    EXPECT_TRUE(flowRecord().AN.empty());
    EXPECT_STREQ("", flowRecord().LastNode.c_str());
    EXPECT_EQ(2u, flowRecord().flowChecklist.size());
    EXPECT_TRUE(recorder.calls.empty());
}
#endif

TEST(CommandState, BgmSetsTheSeenFlagOfItsWord) {
    ScriptHost host("bgmflag");
    initFlags("");
    setVariableName(VariableKind::Seen, 3, "fade");
    setVariableName(VariableKind::Seen, 4, "song");
    CommandRecorder recorder;
    useRealCallees(recorder);
    // No flag of that name (names compare byte for byte), and none for no word: no file.
    host.writeScript("t.txt", {".bgm FADE", ".bgm"});
    host.run("t.txt");
    EXPECT_FALSE(fileExists(host.saveFolder + "flagdata.001"));
    EXPECT_EQ(Calls({"fadeOutBGM()", "stopBGM(0)"}), recorder.calls);

    host.writeScript("t.txt", {".bgm fade"});
    host.run("t.txt");
    std::string expected(4000, '\0');
    expected[3 * 4] = 1;
    EXPECT_EQ(expected, seenFlags(host));
    host.writeScript("t.txt", {".bgm song noloop"});
    host.run("t.txt");
    expected[4 * 4] = 1;
    EXPECT_EQ(expected, seenFlags(host));
    setVariableTableWriter(nullptr);
}

TEST(CommandState, ResetClearsTheLocalVariablesOnly) {
    ScriptHost host("reset");
    resetVariableStore();
    setVariableName(VariableKind::Local, 0, "x");
    setVariableName(VariableKind::Local, 999, "last");
    setVariableName(VariableKind::Global, 0, "g");
    CommandRecorder recorder;
    useRealCallees(recorder);
    host.writeScript("t.txt", {"?x = 5", "?last = 7", "?g = 9", ".reset", "?g = g + x + last"});
    host.run("t.txt");
    EXPECT_EQ(0, variableValues(VariableKind::Local)[0]);
    EXPECT_EQ(0, variableValues(VariableKind::Local)[999]);
    EXPECT_EQ(9, variableValues(VariableKind::Global)[0]);
    EXPECT_EQ(0u, host.lineFailures());
    resetVariableStore();
}

TEST(CommandState, MovieBlacksTheScreenCanvases) {
    ScriptHost host("moviecanvas");
    ScreenSize screen(642, 480);  // after the host's engine reset
    ASSERT_TRUE(createScreenCanvases());
    cCanvas* canvases[] = {&gBackBuffer, &gNextScreen, &gPrevScreen};
    for (cCanvas* c : canvases) std::memset(c->pixels, 0xAB, static_cast<size_t>(c->ByteCount()));
    CommandRecorder recorder;
    host.writeScript("t.txt", {".movie bad.avi"});
    host.run("t.txt");
    for (cCanvas* c : canvases) {
        const uint8_t* p = c->pixels;
        const uint64_t n = c->ByteCount();
        EXPECT_EQ(n, static_cast<uint64_t>(642 * 480 * 3));
        bool black = true;
        for (uint64_t i = 0; i < n && black; ++i) black = p[i] == 0;
        EXPECT_TRUE(black);
    }
    for (cCanvas* c : canvases) c->Release();
    // Canvases without pixels are left alone.
    host.run("t.txt");
    EXPECT_EQ(0u, host.lineFailures());
}

// -- hostile arguments -------------------------------------------------------------------------

std::string repeated(const std::string& word, size_t times) {
    std::string s;
    s.reserve((word.size() + 1) * times);
    for (size_t i = 0; i < times; ++i) s += word + " ";
    return s;
}

TEST(CommandHostile, ManyWords) {
    ScriptHost host("manywords");
    CommandRecorder recorder;
    recorder.keepCalls = false;
    host.writeScript("t.txt", {".img 1 " + repeated("pos1", 100000)});
    host.run("t.txt");
    EXPECT_EQ(200000u, recorder.callCount);
    EXPECT_EQ(0u, host.lineFailures());

    recorder.keepCalls = true;
    recorder.callCount = 0;
    host.writeScript("t.txt", {".test " + repeated("-7", 100000), ".chapter " + repeated("c", 100000)});
    host.run("t.txt");
    EXPECT_EQ(Calls({"playNoiseEffect(-7,-7,-7,-7,-7,-7,-7,-7)", "pollInput(0,0)", "setChapter(null,c)"}),
              recorder.calls);
}

TEST(CommandHostile, LongWords) {
    ScriptHost host("longwords");
    const std::string mb(1 << 20, 'w');
    {
        CommandRecorder recorder;
        useRealCallees(recorder);
        host.writeScript("t.txt", {".chapter " + mb, "." + mb + " 1", ".voice " + mb,
                                   ".voice \\" + mb, ".voice x", ".img 2 " + mb + "#" + mb});
        host.run("t.txt");
        EXPECT_EQ(mb.size(), gChapterName.size());
        // The unknown word, and two voices whose paths do not fit.
        EXPECT_EQ(3u, host.lineFailures());
        ASSERT_EQ(1u, recorder.calls.size());
        EXPECT_EQ("loadAnime(2," + mb + ")", recorder.calls[0]);
        EXPECT_EQ(mb.size(), gVoiceFolder.size());
    }
    {
        CommandRecorder recorder;
        host.writeScript("t.txt", {".bgm " + mb + " " + mb, ".wipe " + mb + " " + mb + " fade"});
        host.run("t.txt");
        ASSERT_EQ(3u, recorder.calls.size());
        EXPECT_EQ("playBGM(" + mb + ",1)", recorder.calls[1]);
        EXPECT_EQ("maskWipeSoft(" + mb + ",500)", recorder.calls[2]);
    }
}

TEST(CommandHostile, LongNumbers) {
    const std::string big(1000, '9');
    const std::string lead = "1" + std::string(999, '0');
    ScriptHost host("longnumbers");
    ScreenSize screen(642, 480);  // after the host's engine reset
    CommandRecorder recorder;
    host.writeScript("t.txt", {".wait " + big, ".wait -" + lead, ".img " + big, ".img 3 " + lead + " -" + big,
                               ".img 3 " + lead + " " + lead, ".img 3 pos" + big, ".flash " + big,
                               ".fade -" + big, ".fadein " + big, ".test " + big + " -" + big});
    host.run("t.txt");
    EXPECT_EQ(Calls({"clearCommand()", "waitClick(2147483647)", "clearCommand()", "waitClick(-2147483648)",
                     "clearAnime(2147483647)",
                     "resetAnimeOrigin(3)", "setAnimeX(3,2147483647)", "loadAnime(3,-" + big + ")",
                     "resetAnimeOrigin(3)", "setAnimeX(3,2147483647)", "resetAnimeOrigin(3)",
                     "setAnimeY(3,2147483647)",
                     "flashScreen(2147483647,255/255/255)", "setFadeTime(0)",
                     "setFadeTime(2147483647)", "waitClick(2147483647)",
                     "playNoiseEffect(2147483647,-2147483648,0,0,0,0,0,0)", "pollInput(0,0)"}),
              recorder.calls);
    EXPECT_EQ(0u, host.lineFailures());
}

// Random command lines: every word of the table and unknown ones, with arguments of random bytes,
// blanks, tabs, backslashes, signs, digits and "#". Nothing may crash or hang.
TEST(CommandHostile, RandomLines) {
    ScriptHost host("randomlines");
    CommandRecorder recorder;
    recorder.keepCalls = false;
    recorder.movieRounds = 3;
    std::mt19937 rng(20041215);
    static const char kAlphabet[] = " \t\\#+-0123456789posPOSfadeghostnoloop";
    std::uniform_int_distribution<int> pick(0, 4);
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<size_t> letter(0, sizeof kAlphabet - 2);
    std::uniform_int_distribution<size_t> length(0, 60);
    std::uniform_int_distribution<size_t> row(0, 20);
    std::vector<std::string> lines;
    for (int i = 0; i < 3000; ++i) {
        const size_t r = row(rng);
        std::string line = ".";
        line += scriptCommandTable[r].word ? scriptCommandTable[r].word : "unknown";
        line += " ";
        std::string args(length(rng), 'x');
        for (char& c : args) {
            c = pick(rng) == 0 ? static_cast<char>(byte(rng)) : kAlphabet[letter(rng)];
            if (c == '\r') c = ' ';
        }
        lines.push_back(line + args);
    }
    host.writeScript("t.txt", lines);
    host.run("t.txt");
    EXPECT_GT(recorder.callCount, 3000u);
    EXPECT_LE(host.lineFailures(), lines.size());
}

}  // namespace
