// The script command table through the real interpreter: script lines, the calls they make into
// the other modules (recorded), and whether the line failed.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "commandRecorder.h"
#include "media/sound.h"
#include "scenario/commandTable.h"
#include "screenSizeGuard.h"
#include "scriptHost.h"
#include "testing.h"

namespace {

using Lines = std::vector<std::string>;
using Calls = std::vector<std::string>;

struct Row {
    Row(Lines l, Calls c, size_t f, std::function<void(CommandRecorder&)> s = nullptr)
        : lines(std::move(l)), calls(std::move(c)), failures(f), setup(std::move(s)) {}
    Lines lines;
    Calls calls;
    size_t failures;  // failed lines
    std::function<void(CommandRecorder&)> setup;
};

#ifdef MORVANE_EARLIER
const Calls kReset = {"clearLocalVariables()"};
const Calls kCustomAlone = {"runTimedChoice(,)"};
#else
const Calls kReset = {"flowResetAll()", "clearLocalVariables()"};
const Calls kCustomAlone = {"flowResetRoute()"};
#endif

std::string title(const Lines& lines) {
    std::string t;
    for (const std::string& l : lines) t += (t.empty() ? "" : " | ") + l.substr(0, 80);
    return t;
}

void runRows(const char* hostName, const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        ScriptHost host(hostName);
        // After the host's engine reset, which puts the screen size back to its default.
        ScreenSize screen(642, 480);
        CommandRecorder recorder;
        if (row.setup) row.setup(recorder);
        host.writeScript("t.txt", row.lines);
        host.run("t.txt");
        EXPECT_EQ(row.calls, recorder.calls) << title(row.lines);
        EXPECT_EQ(row.failures, host.lineFailures()) << title(row.lines);
    }
}

const Calls kMovieStart = {"clearAllAnime()", "setFadeTime(0)", "stopBGM(0)", "stopEnv(0)", "stopSE()"};

Calls concat(Calls a, const Calls& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(CommandTable, WordsMatchExactly) {
    runRows("words", {
        {{".wait"}, {"clearCommand()", "waitClick(0)"}, 0},
        {{".wait500"}, {"clearCommand()", "waitClick(500)"}, 0},
        {{".wait 99999999999"}, {"clearCommand()", "waitClick(2147483647)"}, 0},
        {{".wait -99999999999"}, {"clearCommand()", "waitClick(-2147483648)"}, 0},
        {{".wait 12abc 7"}, {"clearCommand()", "waitClick(12)"}, 0},
        {{".WAIT"}, {}, 1},
        {{".Wait 10"}, {}, 1},
        {{".waits 10"}, {}, 1},
        {{".nosuchcommand 1 2"}, {}, 1},
        {{".date 2004/7/15"}, {"setChapter(2004/7/15,null)"}, 0},
        {{".chapter One Two"}, {"setChapter(null,One)"}, 0},
        {{".chapter"}, {"setChapter(null,)"}, 0},
        {{".date"}, {"setChapter(,null)"}, 0},
        {{".mode novel"}, {"setMsgWindowMode(1)"}, 0},
        {{".mode NOVEL2"}, {"setMsgWindowMode(2)"}, 0},
        {{".mode Adv"}, {"setMsgWindowMode(0)"}, 0},
        {{".mode system"}, {"setMsgWindowMode(3)"}, 0},
        {{".mode demo"}, {"setMsgWindowMode(4)"}, 0},
        {{".mode novel3"}, {}, 0},
        {{".mode"}, {}, 0},
        {{".system load"}, {"runSaveLoadScreen(0)"}, 0},
        {{".system save"}, {"runSaveLoadScreen(1)"}, 0},
        {{".system config"}, {"runConfigDialog()"}, 0},
        {{".system Load"}, {}, 0},
        {{".system Config"}, {}, 0},
        {{".test 1 2 3 4 5 6 7 8 9"},
         {"playNoiseEffect(1,2,3,4,5,6,7,8)", "pollInput(0,0)"}, 0},
        {{".test"}, {"playNoiseEffect(0,0,0,0,0,0,0,0)", "pollInput(0,0)"}, 0},
    });
}

TEST(CommandTable, UnknownWordGivesOneDiagnosticAndTheScriptGoesOn) {
    ScriptHost host("unknown");
    CommandRecorder recorder;
    host.writeScript("t.txt", {".nosuch", ".mode demo", "text"});
    host.run("t.txt");
    EXPECT_EQ(1u, host.lineFailures());
    EXPECT_EQ(1, host.polls);
    EXPECT_EQ(Calls({"setMsgWindowMode(4)"}), recorder.calls);
    EXPECT_EQ(std::vector<std::string>({"text"}), host.texts());
}

TEST(CommandTable, PictureSlots) {
    runRows("img", {
        {{".img"}, {"clearAllAnime()"}, 0},
        {{".img 3"}, {"clearAnime(3)"}, 0},
        {{".img x"}, {"clearAnime(0)"}, 0},
        {{".img 12"}, {"clearAnime(12)"}, 0},
        {{".img x bg"}, {"loadAnime(0,bg)"}, 0},
        {{".img 3 bg 100 200 300"},
         {"loadAnime(3,bg)", "resetAnimeOrigin(3)", "setAnimeX(3,100)", "resetAnimeOrigin(3)",
          "setAnimeY(3,200)"}, 0},
        // Position words before the name give way to its placement: they are applied first.
        {{".img 3 100 bg"}, {"resetAnimeOrigin(3)", "setAnimeX(3,100)", "loadAnime(3,bg)"}, 0},
        {{".img 3 pos0 pos3 pos6 POS5 pos3x"},
         {"setAnimeX(3,399)", "setAnimeY(3,480)", "setAnimeX(3,665)", "setAnimeY(3,480)",
          "setAnimeX(3,399)", "setAnimeY(3,480)"}, 0},
        {{".img 2 center LEFT Right"},
         {"setAnimeX(2,321)", "setAnimeY(2,480)", "setAnimeX(2,160)", "setAnimeY(2,480)",
          "setAnimeX(2,481)", "setAnimeY(2,480)"}, 0},
        {{".img 4 c.img#2"}, {"loadAnime(4,c.img)", "applyAnimeSection(4,2)"}, 0},
        {{".img 4 #3"}, {"applyAnimeSection(4,3)"}, 0},
        {{".img 4 c.img#x"}, {"loadAnime(4,c.img)"}, 0},
        {{".img 4 posx -5"}, {"loadAnime(4,posx)", "loadAnime(4,-5)"}, 0},
        {{".img 5 missing 100 bg"}, {"loadAnime(5,missing)"}, 1},
        {{".img 5 bg missing#2 200"}, {"loadAnime(5,bg)", "loadAnime(5,missing)"}, 1},
        {{".img 12 bg"}, {"loadAnime(12,bg)"}, 1},
        {{".img 12 pos1"}, {"setAnimeX(12,133)", "setAnimeY(12,480)"}, 0},
        {{".fade -5"}, {"setFadeTime(0)"}, 0},
        {{".fade 70000"}, {"setFadeTime(70000)"}, 0},
        {{".fade"}, {"setFadeTime(0)"}, 0},
        {{".fadein"}, {"setFadeTime(500)", "waitClick(500)"}, 0},
        {{".fadein -3"}, {"setFadeTime(500)", "waitClick(500)"}, 0},
        {{".fadein +300"}, {"setFadeTime(300)", "waitClick(300)"}, 0},
        {{".fadein 3x"}, {"setFadeTime(3)", "waitClick(3)"}, 0},
        {{".fadeout"},
         {"clearAllAnime()", "loadAnime(0,)", "setFadeTime(500)", "waitClick(500)"}, 0},
        {{".fadeout 300"},
         {"clearAllAnime()", "loadAnime(0,black)", "setFadeTime(300)", "waitClick(300)"}, 0},
        {{".fadeout white 0"},
         {"clearAllAnime()", "loadAnime(0,white)", "setFadeTime(500)", "waitClick(500)"}, 0},
        {{".fadeout missing 200"},
         {"clearAllAnime()", "loadAnime(0,missing)", "setFadeTime(200)", "waitClick(200)"}, 0},
    });
}

TEST(CommandTable, Sound) {
    auto skipping = [](CommandRecorder& r) { r.skipping = true; };
    runRows("sound", {
        {{".bgm"}, {"setSeenFlag()", "stopBGM(0)"}, 0},
        {{".bgm FADE"}, {"setSeenFlag(FADE)", "fadeOutBGM()"}, 0},
        {{".bgm song"}, {"setSeenFlag(song)", "playBGM(song,1)"}, 0},
        {{".bgm song NoLoop"}, {"setSeenFlag(song)", "playBGM(song,0)"}, 0},
        {{".bgm song loop"}, {"setSeenFlag(song)", "playBGM(song,1)"}, 0},
        {{".env rain"}, {"playEnv(rain)"}, 0},
        {{".env"}, {"playEnv()"}, 0},
        {{".se hit"}, {"isSkipping()", "playSE(hit)"}, 0},
        {{".se hit"}, {"isSkipping()"}, 0, skipping},
        {{".voice \\v01", ".voice a001"},
         {"isVoiceEnabled(a001)", "setPendingVoice(v01\\a001)", "isSkipping()",
          "playVoice(v01\\a001)"}, 0},
        // Without a folder the path is the name alone.
        {{".voice a001"},
         {"isVoiceEnabled(a001)", "setPendingVoice(a001)", "isSkipping()", "playVoice(a001)"}, 0},
        {{".voice \\v01", ".voice \\", ".voice a001"},
         {"isVoiceEnabled(a001)", "setPendingVoice(a001)", "isSkipping()", "playVoice(a001)"}, 0},
        {{".voice \\v01", ".voice a001 GHOST"},
         {"isVoiceEnabled(a001)", "setPendingVoice(v01\\a001)", "isSkipping()"}, 0},
        {{".voice \\v01", ".voice a001"},
         {"isVoiceEnabled(a001)", "setPendingVoice(v01\\a001)", "isSkipping()"}, 0, skipping},
        {{".voice \\v01", ".voice off01"}, {"isVoiceEnabled(off01)"}, 1},
        // A folder that came from a save with its backslash.
        {{".voice a001"},
         {"isVoiceEnabled(a001)", "setPendingVoice(vf\\a001)", "isSkipping()", "playVoice(vf\\a001)"},
         0, [](CommandRecorder&) { gVoiceFolder = "\\vf"; }},
        {{".voice \\\\vf", ".voice a001"},
         {"isVoiceEnabled(a001)", "setPendingVoice(vf\\a001)", "isSkipping()", "playVoice(vf\\a001)"},
         0},
    });
}

TEST(CommandTable, VoicePathsUpTo259Characters) {
    const std::string fits(257, 'a'), over(258, 'a');
    runRows("voicepath", {
        {{".voice \\v", ".voice " + fits},
         {"isVoiceEnabled(" + fits + ")", "setPendingVoice(v\\" + fits + ")", "isSkipping()",
          "playVoice(v\\" + fits + ")"}, 0},
        {{".voice \\v", ".voice " + over}, {"isVoiceEnabled(" + over + ")"}, 1},
        {{".voice " + std::string(10000, 'b')}, {"isVoiceEnabled(" + std::string(10000, 'b') + ")"}, 1},
    });
}

TEST(CommandTable, EffectsAndWipes) {
    runRows("effects", {
        {{".flash"}, {"lookupColourName()", "flashScreen(0,255/255/255)"}, 0},
        {{".flash 2"}, {"flashScreen(2,255/255/255)"}, 0},
        {{".flash red 3"}, {"lookupColourName(red)", "flashScreen(3,255/0/0)"}, 0},
        {{".flash BLUE"}, {"lookupColourName(BLUE)", "flashScreen(0,192/192/255)"}, 0},
        {{".flash mauve 4"}, {"lookupColourName(mauve)", "flashScreen(4,255/255/255)"}, 0},
        {{".shake slow"}, {"shakeScreen(10,10,39,37,1000)"}, 0},
        {{".shake BIG"}, {"shakeScreen(40,40,71,83,1500)"}, 0},
        {{".shake small"}, {"shakeScreen(5,5,71,83,1000)"}, 0},
        {{".shake xonly"}, {"shakeScreen(20,0,71,0,1000)"}, 0},
        {{".shake YOnly"}, {"shakeScreen(0,20,0,71,1000)"}, 0},
        {{".shake once"}, {"shakeScreen(20,20,83,71,200)"}, 0},
        {{".shake"}, {"shakeScreen(20,20,71,83,1000)"}, 0},
        {{".shake wobble"}, {"shakeScreen(20,20,71,83,1000)"}, 0},
        {{".wipe rule 300"}, {"maskWipeHard(rule,300)"}, 0},
        {{".wipe rule"}, {"maskWipeHard(rule,500)"}, 0},
        {{".wipe rule -4"}, {"maskWipeHard(rule,500)"}, 0},
        {{".wipe rule Fade"}, {"maskWipeSoft(rule,500)"}, 0},
        {{".wipe rule 300 FADE"}, {"maskWipeSoft(rule,300)"}, 0},
        {{".wipe rule 300 soft"}, {"maskWipeHard(rule,300)"}, 0},
        {{".wipe"}, {"maskWipeHard(,500)"}, 0},
    });
}

TEST(CommandTable, Movie) {
    const Calls loop = {"isMoviePlaying()", "pollInput(2,0)", "getCommand()"};
    runRows("movie", {
        {{".movie bad.avi"}, concat(kMovieStart, {"playMovie(bad.avi)", "stopMovie()"}), 0},
        // Cancel latched at the second poll.
        {{".movie m.avi"},
         concat(concat(concat(kMovieStart, {"playMovie(m.avi)", "clearCommand()"}), loop),
                concat(concat({"sleep(1000)"}, loop), {"stopMovie()", "clearCommand()"})),
         0, [](CommandRecorder& r) { r.commands = {0, 3}; }},
        // The movie ends by itself after one round.
        {{".movie m.avi"},
         concat(concat(concat(kMovieStart, {"playMovie(m.avi)", "clearCommand()"}), loop),
                {"sleep(1000)", "isMoviePlaying()", "stopMovie()", "clearCommand()"}),
         0, [](CommandRecorder& r) { r.movieRounds = 1; }},
        // Quitting ends the wait at its first poll.
        {{".movie m.avi"},
         concat(kMovieStart, {"playMovie(m.avi)", "clearCommand()", "isMoviePlaying()",
                              "pollInput(2,0)", "stopMovie()", "clearCommand()"}),
         0, [](CommandRecorder& r) { r.quitAtPoll = 1; }},
    });
}

TEST(CommandTable, ResetAndCustom) {
    runRows("custom", {
        {{".reset"}, kReset, 0},
        {{".reset a"}, kReset, 0},
        {{".reset a b"}, kReset, 0},
        {{".custom"}, kCustomAlone, 0},
        {{".custom res"}, {"runTimedChoice(res,)"}, 0},
        {{".custom res gate"}, {"runTimedChoice(res,gate)"}, 0},
        {{".custom res gate more"}, {"runTimedChoice(res,gate)"}, 0},
    });
}

TEST(CommandTable, MissingTextsOrTableFail) {
    // No callee table installed (start-up installs the real one): no command runs.
    EXPECT_FALSE(executeCommand("date", "d"));
    CommandRecorder recorder;
    EXPECT_FALSE(executeCommand(nullptr, ""));
    EXPECT_FALSE(executeCommand("wait", nullptr));
    EXPECT_FALSE(executeCommand("", ""));
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_TRUE(executeCommand("wait", ""));
    EXPECT_EQ(Calls({"clearCommand()", "waitClick(0)"}), recorder.calls);
}

TEST(CommandTable, TableIsInOrderAndEndsWithoutAWord) {
    const char* const words[] = {"wait",  "reset", "date",  "chapter", "img",    "fade",   "fadein",
                                 "fadeout", "bgm", "env",   "se",      "voice",  "flash",  "shake",
                                 "wipe",  "system", "movie", "custom", "mode",   "test"};
    size_t i = 0;
    for (; scriptCommandTable[i].word; ++i) {
        ASSERT_LT(i, sizeof words / sizeof words[0]);
        EXPECT_STREQ(words[i], scriptCommandTable[i].word);
        EXPECT_NE(nullptr, scriptCommandTable[i].handler);
    }
    EXPECT_EQ(sizeof words / sizeof words[0], i);
}

}  // namespace
