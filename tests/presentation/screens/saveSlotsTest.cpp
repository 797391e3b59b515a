// Slot files: the bytes of a save from a known state (descrambled here), a round trip of every
// section, hostile files refused with nothing changed, and injected failures that keep the old
// file.
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "../../scenario/scriptHost.h"
#include "base/localTime.h"
#include "base/moduleState.h"
#include "base/uiText.h"
#include "config/systemInfo.h"
#include "files/apiFile.h"
#include "files/saveFile.h"
#include "flow/flowRecord.h"
#include "graphics/screen.h"
#include "presentation/backlog.h"
#include "presentation/screens/saveSlots.h"
#include "presentation/systemCommands.h"
#include "scenario/scriptState.h"
#include "scenario/variableStore.h"
#include "testing.h"

namespace {
using Bytes = std::string;

LocalTime fixedTime() { return LocalTime{2026, 12, 10, 14, 5, 33, 0x01DB4A2B3C4D5E6Full}; }

uint32_t u32(const Bytes& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
           uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}
struct Record {
    std::string name;
    Bytes data;
};
// Records of a stream, parsed here on their own.
std::vector<Record> records(const Bytes& b) {
    std::vector<Record> out;
    size_t p = 0;
    while (p + 8 <= b.size()) {
        uint32_t n = u32(b, p);
        std::string name = b.substr(p + 4, n);
        uint32_t size = u32(b, p + 4 + n);
        out.push_back({name, b.substr(p + 8 + n, size)});
        p += 8 + n + size;
    }
    EXPECT_EQ(b.size(), p);
    return out;
}

class SaveSlots : public ::testing::Test {
protected:
    void SetUp() override {
        setLocalTimeSource(fixedTime);
        // A 208 by 156 scene, red on the left, blue on the right: halved exactly into 104 by 78.
        gScreenWidth = 208;
        gScreenHeight = 156;
        ASSERT_TRUE(createScreenCanvases());
        for (int y = 0; y < 156; ++y)
            for (int x = 0; x < 208; ++x) {
                uint8_t* p = gNextScreen.pixels + (y * 208 + x) * 3;
                p[0] = x < 104 ? 0 : 255;  // blue
                p[1] = 0;
                p[2] = x < 104 ? 255 : 0;  // red
            }
    }
    void TearDown() override {
        setLocalTimeSource(nullptr);
        setSaveFileFaults(0, false);
    }
    // A known state of every section.
    void knownState() {
        setChapter("Day 1", "Arrival");
        setVariableName(VariableKind::Local, 3, uiText(UiText::VarDeathCount));
        setVariable(uiText(UiText::VarDeathCount), 7);
        variableValues(VariableKind::Local)[9] = -12345;
        mLogBox::SetPendingVoice("voice\\v01");
        mLogBox::AddEntry("Rin", "first");
        mLogBox::AddEntry("", "second");
        mLogBox::MarkPosition();
    }
    Bytes slotBytes(ScriptHost& host, int slot) {
        char name[16];
        saveSlotFileName(slot, name);
        return scrambleBytes(readWholeFile(host.saveFolder + name), kSaveSeedForTests);
    }
    void writeSlot(ScriptHost& host, int slot, const Bytes& plain) {
        char name[16];
        saveSlotFileName(slot, name);
        Bytes scrambled = scrambleBytes(plain, kSaveSeedForTests);
        // Written through the host the program uses, so the path is read the same way.
        cAPI_File file;
        ASSERT_TRUE(file.Create((host.saveFolder + name).c_str()));
        if (!scrambled.empty()) {
            ASSERT_TRUE(file.Write(scrambled.data(), scrambled.size()));
        }
    }
    static constexpr uint32_t kSaveSeedForTests = 0xF2C9;
};

TEST_F(SaveSlots, BytesOfASaveFromAKnownState) {
    ScriptHost host("slot-bytes");
    knownState();
    ASSERT_TRUE(saveGame(3));
    Bytes file = slotBytes(host, 3);
    ASSERT_GT(file.size(), sizeof(SaveSlotHeader));

    SaveSlotHeader expected;
    std::memset(&expected, 0, sizeof expected);
    expected.fileTimeLow = static_cast<uint32_t>(0x01DB4A2B3C4D5E6Full);
    expected.fileTimeHigh = static_cast<uint32_t>(0x01DB4A2B3C4D5E6Full >> 32);
    expected.deathCount = 7;
    std::strcpy(expected.dateText, "2026/12/10 14:05");
    std::strcpy(expected.chapterText, "Day 1 Arrival");
    for (int y = 0; y < 78; ++y)
        for (int x = 0; x < 104; ++x) {
            uint8_t* p = expected.thumbnail + (y * 104 + x) * 3;
            bool frame = x == 0 || y == 0 || x == 103 || y == 77;
            p[0] = frame ? 255 : x < 52 ? 0 : 255;
            p[1] = frame ? 255 : 0;
            p[2] = frame ? 255 : x < 52 ? 255 : 0;
        }
    EXPECT_EQ(Bytes(reinterpret_cast<const char*>(&expected), sizeof expected),
              file.substr(0, sizeof expected));

    std::vector<Record> master = records(file.substr(sizeof(SaveSlotHeader)));
    std::vector<std::string> names;
    for (const Record& r : master) names.push_back(r.name);
    std::vector<std::string> order = {"Data_Script", "Data_Sound", "Data_Anime", "Data_Flags",
                                      "Data_Log"};
#ifndef MORVANE_EARLIER
    order.push_back("Data_Flow");
#endif
    EXPECT_EQ(order, names);
    // The backlog section: the mark, then the 180 strings of the ring in ring order.
    std::vector<Record> log = records(master[4].data);
    ASSERT_EQ(181u, log.size());
    EXPECT_EQ("LastLogPos", log[0].name);
    EXPECT_EQ(2u, u32(log[0].data, 0));
    EXPECT_EQ("Text0", log[1].name);
    EXPECT_EQ(Bytes("first", 6), log[1].data);
    EXPECT_EQ("Name0", log[2].name);
    EXPECT_EQ(Bytes("Rin", 4), log[2].data);
    EXPECT_EQ("Voice0", log[3].name);
    EXPECT_EQ(Bytes("voice\\v01", 10), log[3].data);
    EXPECT_EQ(Bytes("", 1), log[6].data);  // Voice1: the second message has none
    // The local variables: 1000 little-endian values.
    std::vector<Record> flags = records(master[3].data);
    ASSERT_EQ(1u, flags.size());
    EXPECT_EQ(4000u, flags[0].data.size());
    EXPECT_EQ(uint32_t(-12345), u32(flags[0].data, 36));
}

TEST_F(SaveSlots, QuickSaveWritesItsMemoWithTheSave) {
    ScriptHost host("slot-quick");
    ASSERT_TRUE(quickSave());
    SaveSlotHeader header;
    ASSERT_TRUE(readSaveHeader(0, header));
    EXPECT_STREQ(uiText(UiText::QuickSaveMemo), header.memo);
    EXPECT_EQ(0, std::memcmp(header.memo, "\x83\x4E\x83\x43\x83\x62\x83\x4E\x83\x5A\x81\x5B\x83\x75", 14));
}

TEST_F(SaveSlots, RoundTripOfEverySection) {
    ScriptHost host("slot-round");
    knownState();
#ifndef MORVANE_EARLIER
    const_cast<cFlowSet&>(flowRecord().flowChecklist).insert(vstring("a01"));
    flowVisit("a01");
#endif
    ASSERT_TRUE(saveGame(5));
    const Bytes first = slotBytes(host, 5);

    resetEngineState();
    setLocalTimeSource(fixedTime);
    ASSERT_TRUE(loadGame(5));
    EXPECT_STREQ("Day 1", gChapterDate.c_str());
    EXPECT_STREQ("Arrival", gChapterName.c_str());
    EXPECT_EQ(-12345, variableValues(VariableKind::Local)[9]);
    EXPECT_EQ(2, mLogBox::writePosition());
    EXPECT_EQ(1, scriptAbortFlag);
#ifndef MORVANE_EARLIER
    EXPECT_STREQ("a01", flowRecord().LastNode.c_str());
#endif
    // Saving again gives the same body (the header's names and counter come from variables
    // that are not part of a save).
    ASSERT_TRUE(saveGame(6));
    const Bytes second = slotBytes(host, 6);
    EXPECT_EQ(first.substr(sizeof(SaveSlotHeader)), second.substr(sizeof(SaveSlotHeader)));
}

TEST_F(SaveSlots, HostileFilesAreRefusedWithNothingChanged) {
    ScriptHost host("slot-hostile");
    knownState();
    ASSERT_TRUE(saveGame(1));
    const Bytes good = slotBytes(host, 1);
    std::vector<Record> master = records(good.substr(sizeof(SaveSlotHeader)));
    auto rebuilt = [&good, &master](size_t skip) {
        Bytes b = good.substr(0, sizeof(SaveSlotHeader));
        for (size_t i = 0; i < master.size(); ++i) {
            if (i == skip) continue;
            const Record& r = master[i];
            for (uint32_t v : {uint32_t(r.name.size())}) b += Bytes(reinterpret_cast<char*>(&v), 4);
            b += r.name;
            uint32_t size = static_cast<uint32_t>(r.data.size());
            b += Bytes(reinterpret_cast<char*>(&size), 4);
            b += r.data;
        }
        return b;
    };
    std::vector<std::pair<std::string, Bytes>> cases = {
        {"empty", ""},
        {"one byte", Bytes(1, 'x')},
        {"a byte short of the header", good.substr(0, 25119)},
        {"the header alone", good.substr(0, 25120)},
        {"the sound section missing", rebuilt(1)},
    };
    for (size_t cut : {size_t(1), size_t(100), good.size() / 2})
        cases.push_back({"a prefix", good.substr(0, good.size() - cut)});
    Bytes huge = good;
    const size_t sizeAt = sizeof(SaveSlotHeader) + 4 + 11;
    huge[sizeAt] = char(0xF0), huge[sizeAt + 1] = huge[sizeAt + 2] = huge[sizeAt + 3] = char(0xFF);
    cases.push_back({"a size of 0xFFFFFFF0", huge});
    std::mt19937 rng(31);
    for (int i = 0; i < 40; ++i) {
        Bytes body = good.substr(0, sizeof(SaveSlotHeader));
        for (size_t n = rng() % 3000; n > 0; --n) body += static_cast<char>(rng());
        cases.push_back({"random body", body});
    }
    setChapter("kept", "kept");
    for (const auto& [what, bytes] : cases) {
        writeSlot(host, 2, bytes);
        EXPECT_FALSE(loadGame(2)) << what;
        EXPECT_STREQ("kept", gChapterName.c_str()) << what;
        EXPECT_EQ(0, scriptAbortFlag) << what;
    }
    // A save of the earlier configuration (no flow section) loads in both.
    writeSlot(host, 2, rebuilt(5));
    EXPECT_TRUE(loadGame(2));
    EXPECT_FALSE(loadGame(50));
    EXPECT_FALSE(loadGame(-1));
    EXPECT_FALSE(loadGame(7));  // no file

    // Thousands of mutated slots: refused or loaded, never a crash.
    for (int i = 0; i < 2000; ++i) {
        Bytes b = good;
        for (int k = rng() % 6; k >= 0; --k) {
            size_t at = sizeof(SaveSlotHeader) + rng() % (b.size() - sizeof(SaveSlotHeader));
            b[at] = static_cast<char>(rng());
        }
        writeSlot(host, 2, b);
        loadGame(2);
    }
}

TEST_F(SaveSlots, HeadersAlone) {
    ScriptHost host("slot-headers");
    SaveSlotHeader header;
    EXPECT_FALSE(readSaveHeader(4, header));  // no file
    writeSlot(host, 4, "");
    EXPECT_FALSE(readSaveHeader(4, header));  // empty
    writeSlot(host, 4, Bytes(20, 'a'));
    ASSERT_TRUE(readSaveHeader(4, header));  // short: what was read, the rest zero
    EXPECT_EQ(0x61616161u, header.fileTimeLow);
    EXPECT_EQ(0, header.dateText[4]);
    EXPECT_FALSE(writeSaveHeader(8, header));  // no file to rewrite
    ASSERT_TRUE(saveGame(8));
    std::strcpy(header.memo, "memo");
    header.protect = 1;
    ASSERT_TRUE(writeSaveHeader(8, header));
    SaveSlotHeader back;
    ASSERT_TRUE(readSaveHeader(8, back));
    EXPECT_STREQ("memo", back.memo);
    EXPECT_EQ(1, back.protect);
    EXPECT_TRUE(loadGame(8));  // the body is untouched
    EXPECT_TRUE(deleteSaveSlot(8));
    EXPECT_FALSE(deleteSaveSlot(8));
    EXPECT_FALSE(deleteSaveSlot(50));
}

TEST_F(SaveSlots, HeaderRewrittenOverFilesOfEveryLength) {
    // Every file the grid shows (its header reads) takes a new header and keeps what follows the
    // old one: nothing for a file no longer than a header.
    ScriptHost host("slot-header-lengths");
    knownState();
    ASSERT_TRUE(saveGame(9));
    const Bytes saved = slotBytes(host, 9);
    SaveSlotHeader header;
    std::memset(&header, 0x5A, sizeof header);
    std::strcpy(header.memo, "memo");
    header.protect = 1;
    const Bytes newHeader(reinterpret_cast<const char*>(&header), sizeof header);
    Bytes pattern(sizeof(SaveSlotHeader) + 1, 0);
    for (size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<char>(i * 13 + 1);
    const std::vector<std::pair<std::string, Bytes>> cases = {
        {"one byte", pattern.substr(0, 1)},
        {"twenty bytes", pattern.substr(0, 20)},
        {"a byte short of a header", pattern.substr(0, sizeof(SaveSlotHeader) - 1)},
        {"a header alone", pattern.substr(0, sizeof(SaveSlotHeader))},
        {"a header and one byte", pattern},
        {"a whole save", saved},
    };
    for (const auto& [what, bytes] : cases) {
        writeSlot(host, 2, bytes);
        SaveSlotHeader shown;
        ASSERT_TRUE(readSaveHeader(2, shown)) << what;  // the grid shows it
        EXPECT_TRUE(writeSaveHeader(2, header)) << what;
        const Bytes body = bytes.size() > sizeof header ? bytes.substr(sizeof header) : Bytes();
        EXPECT_TRUE(newHeader + body == slotBytes(host, 2)) << what;
        SaveSlotHeader back;
        ASSERT_TRUE(readSaveHeader(2, back)) << what;
        EXPECT_STREQ("memo", back.memo) << what;
        EXPECT_EQ(1, back.protect) << what;
        EXPECT_FALSE(fileExists(host.saveFolder + "savedata.002.new")) << what;
    }
    // The memo of a whole save leaves it loadable.
    EXPECT_TRUE(loadGame(2));
    // An empty file shows as an empty slot: nothing is written into it.
    writeSlot(host, 2, "");
    EXPECT_FALSE(writeSaveHeader(2, header));
    EXPECT_TRUE(readWholeFile(host.saveFolder + "savedata.002").empty());
}

TEST_F(SaveSlots, FailuresKeepTheOldSlot) {
    ScriptHost host("slot-faults");
    knownState();
    ASSERT_TRUE(saveGame(0));
    const Bytes old = readWholeFile(host.saveFolder + "savedata.000");
    setChapter("new", "new");
    for (int failAt : {1, 2}) {
        setSaveFileFaults(failAt, false);
        EXPECT_FALSE(saveGame(0)) << failAt;
        setSaveFileFaults(failAt, false);
        EXPECT_FALSE(quickSave()) << failAt;
        EXPECT_TRUE(old == readWholeFile(host.saveFolder + "savedata.000")) << failAt;
        EXPECT_FALSE(fileExists(host.saveFolder + "savedata.000.new")) << failAt;
    }
    SaveSlotHeader header;
    ASSERT_TRUE(readSaveHeader(0, header));
    header.protect = 1;
    setSaveFileFaults(1, false);
    EXPECT_FALSE(writeSaveHeader(0, header));
    EXPECT_TRUE(old == readWholeFile(host.saveFolder + "savedata.000"));
    setSaveFileFaults(0, true);
    EXPECT_FALSE(writeSaveHeader(0, header));
    EXPECT_FALSE(saveGame(0));
    EXPECT_TRUE(old == readWholeFile(host.saveFolder + "savedata.000"));
    EXPECT_FALSE(fileExists(host.saveFolder + "savedata.000.new"));
    setSaveFileFaults(0, false);
    EXPECT_TRUE(saveGame(0));
    EXPECT_NE(old, readWholeFile(host.saveFolder + "savedata.000"));
}

}  // namespace
