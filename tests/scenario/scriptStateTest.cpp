#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "base/appHooks.h"
#include "base/clock.h"
#include "files/saveStream.h"
#include "presentation/msgDisplay.h"
#include "scenario/script.h"
#include "scenario/scriptState.h"
#include "scenario/variableStore.h"
#include "scriptHost.h"
#include "testing.h"

namespace {

using Texts = std::vector<std::string>;
using Record = std::pair<std::string, std::string>;  // name, data bytes

uint32_t gNow = 0;
uint32_t fakeClock() { return gNow; }

// The records of a stream buffer, parsed here on their own.
std::vector<Record> parseRecords(const std::vector<uint8_t>& buffer) {
    std::vector<Record> records;
    size_t p = 0;
    auto u32 = [&buffer](size_t at) {
        return static_cast<uint32_t>(buffer[at]) | static_cast<uint32_t>(buffer[at + 1]) << 8 |
               static_cast<uint32_t>(buffer[at + 2]) << 16 | static_cast<uint32_t>(buffer[at + 3]) << 24;
    };
    while (p + 4 <= buffer.size()) {
        uint32_t nameLength = u32(p);
        std::string name(reinterpret_cast<const char*>(&buffer[p + 4]), nameLength);
        p += 4 + nameLength;
        uint32_t size = u32(p);
        std::string data(reinterpret_cast<const char*>(&buffer[p + 4]), size);
        p += 4 + size;
        records.emplace_back(name, data);
    }
    EXPECT_EQ(buffer.size(), p);
    return records;
}

std::string le32(uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
    return s;
}
std::string text(const char* t) { return std::string(t, std::strlen(t) + 1); }
std::string byte(uint8_t b) { return std::string(1, static_cast<char>(b)); }

class ScriptState : public ::testing::Test {
protected:
    void SetUp() override {
        gNow = 1000;
        setClockSource(fakeClock);
    }
    void TearDown() override {
        resetScriptState();
        setClockSource(nullptr);
        resetVariableStore();
    }
};

TEST_F(ScriptState, ThreeLevelChainSavedAndRebuilt) {
    ScriptHost host("chain");
    setVariableName(VariableKind::Local, 0, "n");
    host.writeScript("start.txt", {"M1", ".CALL a.txt", "M2"});
    host.writeScript("a.txt", {".SELECT", "o1", "o2", ".CASE 2", "A1", ".CALL b.txt", "A2", ".ENDSEL",
                               "A3"});
    host.writeScript("b.txt", {"B1", ";", "?n = n + 1", "B2", ";", "B3"});
    host.answers = {2};
    setMsgWindowMode(4);
    cSaveStream saved;
    host.onShow = [&saved](size_t, const std::string& t) {
        if (t == "M1") setChapter("d1", "n1");
        if (t == "B2") {
            gNow += 150000;
            serializeScriptState(saved);
        }
    };
    getPlayTimeMinutes();  // the play-time base is taken now
    EXPECT_TRUE(runGameScript());
    EXPECT_EQ((Texts{"M1", "A1", "B1", "B2", "B3", "A2", "A3", "M2"}), host.texts());
    EXPECT_EQ(1, getVariable("n"));

    const std::vector<Record> expected = {
        {"ChapterDate", text("d1")},   {"ChapterName", text("n1")},   {"PlayTime", le32(2)},
        {"ScriptMode", byte(4)},       {"Name0", text("start.txt")},  {"Line0", le32(2)},
        {"CaseID0", le32(0)},          {"CaseEnable0", byte(0)},      {"Name1", text("a.txt")},
        {"Line1", le32(6)},            {"CaseID1", le32(2)},          {"CaseEnable1", byte(0)},
        {"Name2", text("b.txt")},      {"Line2", le32(1)},            {"CaseID2", le32(0)},
        {"CaseEnable2", byte(0)},      {"StackCount", le32(3)},
    };
    EXPECT_EQ(expected, parseRecords(saved.Buffer()));

    // A fresh state loads the section.
    resetScriptState();
    setMsgWindowMode(0);
    variableValues(VariableKind::Local)[0] = 0;
    host.shown.clear();
    gNow = 5000000;
    cSaveStream in(saved.Data(), saved.Size());
    serializeScriptState(in);
    EXPECT_EQ(1, scriptAbortFlag);
    ASSERT_EQ(3u, saveStack().size());
    EXPECT_STREQ("a.txt", saveStack()[1].name.c_str());
    EXPECT_EQ(6, saveStack()[1].Line);
    EXPECT_EQ(2, saveStack()[1].CaseID);
    EXPECT_EQ(2u, getPlayTimeMinutes());

    scriptAbortFlag = 0;
    ASSERT_TRUE(startScript());
    EXPECT_TRUE(saveStack().empty());
    EXPECT_EQ(4, MsgWindowMode);
    EXPECT_STREQ("d1", gChapterDate.c_str());
    EXPECT_STREQ("n1", gChapterName.c_str());
    // Three loaded levels and one empty child.
    cScript* level = &rootScript();
    const char* names[] = {"start.txt", "a.txt", "b.txt", ""};
    const int32_t lines[] = {2, 6, 1, 0};
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(nullptr, level) << i;
        EXPECT_STREQ(names[i], level->Name()) << i;
        EXPECT_EQ(lines[i], level->NextLine()) << i;
        level = level->Child();
    }
    EXPECT_EQ(nullptr, level);
    EXPECT_EQ(2, rootScript().Child()->CaseID());

    rootScript().Run();
    EXPECT_EQ((Texts{"B2", "B3", "A2", "A3", "M2"}), host.texts());
    EXPECT_EQ(1, getVariable("n"));
}

TEST_F(ScriptState, RootOnlySaveHoldsOneLevel) {
    ScriptHost host("root-save");
    host.writeScript("start.txt", {"A", ";", "B", ";", "C"});
    cSaveStream saved;
    host.onShow = [&saved](size_t, const std::string& t) {
        if (t == "B") serializeScriptState(saved);
    };
    EXPECT_TRUE(runGameScript());
    const std::vector<Record> expected = {
        {"ChapterDate", text("")},  {"ChapterName", text("")}, {"PlayTime", le32(0)},
        {"ScriptMode", byte(0)},    {"Name0", text("start.txt")}, {"Line0", le32(1)},
        {"CaseID0", le32(0)},       {"CaseEnable0", byte(0)},  {"StackCount", le32(1)},
    };
    EXPECT_EQ(expected, parseRecords(saved.Buffer()));

    // Loading it shows B again, then the rest.
    host.shown.clear();
    host.onShow = nullptr;
    cSaveStream in(saved.Data(), saved.Size());
    serializeScriptState(in);
    EXPECT_TRUE(runGameScript());
    EXPECT_EQ((Texts{"B", "C"}), host.texts());
}

cSaveStream streamOf(const std::vector<Record>& records) {
    cSaveStream out;
    for (const Record& r : records) out.WriteField(r.first.c_str(), r.second.data(), r.second.size());
    return cSaveStream(out.Data(), out.Size());
}

TEST_F(ScriptState, LoadedStackIsBounded) {
    ScriptHost host("bounds");
    {
        cSaveStream in = streamOf({{"StackCount", le32(1000000)}, {"Name0", text("x")}, {"Line1", le32(4)}});
        serializeScriptState(in);
        ASSERT_EQ(2u, saveStack().size());
        EXPECT_STREQ("x", saveStack()[0].name.c_str());
        EXPECT_STREQ("", saveStack()[1].name.c_str());
        EXPECT_EQ(4, saveStack()[1].Line);
    }
    {
        std::vector<Record> records = {{"StackCount", le32(500)}};
        for (int i = 0; i < 500; ++i) records.push_back({"Name" + std::to_string(i), text("s.txt")});
        cSaveStream in = streamOf(records);
        serializeScriptState(in);
        EXPECT_EQ(static_cast<size_t>(kMaxCallLevels), saveStack().size());
    }
    {
        // Wrong sizes leave the fields empty; a missing StackCount gives no levels.
        cSaveStream in = streamOf({{"StackCount", le32(1)}, {"Line0", std::string(2, '\x05')},
                                   {"CaseEnable0", le32(1)}});
        serializeScriptState(in);
        ASSERT_EQ(1u, saveStack().size());
        EXPECT_EQ(0, saveStack()[0].Line);
        EXPECT_EQ(0, saveStack()[0].CaseEnable);
        cSaveStream none = streamOf({{"Name0", text("x")}});
        scriptAbortFlag = 0;
        serializeScriptState(none);
        EXPECT_TRUE(saveStack().empty());
        EXPECT_EQ(1, scriptAbortFlag);
    }
}

TEST_F(ScriptState, RestoredModeIsAppliedInBothBranches) {
    ScriptHost host("mode");
    host.writeScript("start.txt", {"A"});
    host.writeScript("s.txt", {"S"});
    {
        cSaveStream in = streamOf({{"ScriptMode", byte(1)}, {"StackCount", le32(1)}, {"Name0", text("s.txt")}});
        serializeScriptState(in);
        EXPECT_EQ(0, MsgWindowMode);  // applied only when the chain is rebuilt
        EXPECT_TRUE(runGameScript());
        EXPECT_EQ(1, MsgWindowMode);
    }
    {
        cSaveStream in = streamOf({{"ScriptMode", byte(2)}});  // no stack: "start.txt" again
        serializeScriptState(in);
        EXPECT_TRUE(runGameScript());
        EXPECT_EQ(2, MsgWindowMode);
    }
    {
        cSaveStream in = streamOf({{"ScriptMode", byte(9)}, {"StackCount", le32(1)}, {"Name0", text("s.txt")}});
        serializeScriptState(in);
        EXPECT_TRUE(runGameScript());
        EXPECT_EQ(2, MsgWindowMode);  // out of range: ignored
    }
    EXPECT_EQ((Texts{"S", "A", "S"}), host.texts());
}

TEST_F(ScriptState, MissingSavedScriptEndsItsLevel) {
    ScriptHost host("missing-level");
    host.writeScript("start.txt", {"never"});
    host.writeScript("a.txt", {"A0", ".CALL gone.txt", "A1"});
    cSaveStream in = streamOf({{"StackCount", le32(2)}, {"Name0", text("a.txt")}, {"Line0", le32(2)},
                               {"Name1", text("gone.txt")}, {"Line1", le32(7)}});
    serializeScriptState(in);
    EXPECT_TRUE(runGameScript());
    EXPECT_EQ((Texts{"A1"}), host.texts());
}

TEST_F(ScriptState, StartScriptAndAbort) {
    ScriptHost host("start");
    EXPECT_FALSE(runGameScript());  // no "start.txt"
    host.writeScript("start.txt", {"go"});
    setChapter("date", "name");
    EXPECT_TRUE(runGameScript());
    EXPECT_STREQ("", gChapterDate.c_str());  // a new start empties the chapter strings
    EXPECT_EQ((Texts{"go"}), host.texts());

    saveStack().push_back(cSaveNode());
    abortScript();
    EXPECT_TRUE(saveStack().empty());
    EXPECT_EQ(1, scriptAbortFlag);

    setChapter("d", nullptr);
    setChapter(nullptr, "n");
    EXPECT_STREQ("d", gChapterDate.c_str());
    EXPECT_STREQ("n", gChapterName.c_str());
    setChapter("", nullptr);
    EXPECT_STREQ("", gChapterDate.c_str());
    EXPECT_STREQ("n", gChapterName.c_str());
}

// The caption is rebuilt first when a loaded chain starts: it must already see the loaded mode.
std::vector<uint8_t> gCaptionModes;
const AppHooks kCaptionHooks = {nullptr, [] { gCaptionModes.push_back(MsgWindowMode); },
                                nullptr, nullptr, nullptr, nullptr};

TEST_F(ScriptState, LoadedModeBeforeTheCaption) {
    ScriptHost host("loaded-mode");
    host.writeScript("start.txt", {"A", "B"});
    setAppHooks(&kCaptionHooks);
    cSaveStream in = streamOf({{"ScriptMode", byte(kModeNovel)},
                               {"Name0", text("start.txt")},
                               {"Line0", le32(1)},
                               {"StackCount", le32(1)}});
    serializeScriptState(in);
    gCaptionModes.clear();
    ASSERT_TRUE(startScript());
    ASSERT_FALSE(gCaptionModes.empty());
    EXPECT_EQ(kModeNovel, gCaptionModes.front());
    EXPECT_EQ(kModeNovel, MsgWindowMode);
    setAppHooks(nullptr);
}

TEST_F(ScriptState, PlayTimeCountsFromTheStart) {
    // Nothing reads the play time before the first save (the caption does not show it): a save
    // 10 min 5 s after the start records 10 minutes, the next one 3 minutes later 13.
    gNow = 5000;
    resetScriptState();
    std::vector<uint32_t> stored;
    for (uint32_t at : {5000u + 605000u, 5000u + 605000u + 180000u}) {
        gNow = at;
        cSaveStream out;
        serializeScriptState(out);
        std::vector<Record> records = parseRecords(out.Buffer());
        ASSERT_EQ("PlayTime", records[2].first);
        stored.push_back(static_cast<uint8_t>(records[2].second[0]));
    }
    EXPECT_EQ((std::vector<uint32_t>{10, 13}), stored);
}

TEST_F(ScriptState, PlayTimeKeepsThePartMinute) {
    gNow = 1000;
    resetScriptState();
    EXPECT_EQ(0u, getPlayTimeMinutes());
    gNow = 1000 + 59999;
    EXPECT_EQ(0u, getPlayTimeMinutes());
    gNow = 1000 + 60000;
    EXPECT_EQ(1u, getPlayTimeMinutes());

    // Saves 40 s apart still count every minute.
    gNow = 0;
    resetScriptState();
    std::vector<uint32_t> stored;
    for (int i = 1; i <= 3; ++i) {
        gNow = 40000u * i;
        cSaveStream out;
        serializeScriptState(out);
        std::vector<Record> records = parseRecords(out.Buffer());
        ASSERT_EQ("PlayTime", records[2].first);
        stored.push_back(static_cast<uint8_t>(records[2].second[0]));
    }
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2}), stored);

    // A load replaces the minutes and keeps the seconds already counted.
    gNow = 0;
    resetScriptState();
    gNow = 30000;
    cSaveStream in = streamOf({{"PlayTime", le32(10)}});
    serializeScriptState(in);
    EXPECT_EQ(10u, getPlayTimeMinutes());
    gNow = 60000;
    EXPECT_EQ(11u, getPlayTimeMinutes());

    // The clock wraps.
    gNow = 0xFFFFF000u;
    resetScriptState();
    gNow = 0x0001D000u;  // 122880 ms later
    EXPECT_EQ(2u, getPlayTimeMinutes());
}

TEST_F(ScriptState, RandomSectionsNeverCrash) {
    ScriptHost host("random-section");
    host.writeScript("start.txt", {"A"});
    cSaveStream good;
    serializeScriptState(good);
    std::vector<uint8_t> bytes = good.Buffer();
    uint32_t seed = 7;
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> mutated = bytes;
        for (int k = 0; k < 4; ++k) {
            seed = seed * 1103515245u + 12345u;
            mutated[(seed >> 8) % mutated.size()] = static_cast<uint8_t>(seed >> 24);
        }
        cSaveStream in(mutated.data(), mutated.size());
        serializeScriptState(in);
        EXPECT_LE(saveStack().size(), static_cast<size_t>(kMaxCallLevels));
        runGameScript();
    }
}

}  // namespace
