// The sections of a save in each configuration, and a save of the other configuration loaded from
// its slot file: the earlier one never looks at a flow section, the full one starts an empty flow
// record without.
#include <string>
#include <utility>
#include <vector>

#include "base/flowHooks.h"
#include "base/moduleState.h"
#include "files/apiFile.h"
#include "files/archiveIndex.h"
#include "files/saveFile.h"
#include "files/saveStream.h"
#include "presentation/screens/saveSections.h"
#include "presentation/screens/saveSlots.h"
#include "scenario/readflags/readFlags.h"
#include "scenario/scriptState.h"
#include "testing.h"
#ifndef MORVANE_EARLIER
#include "flow/flowRecord.h"
#endif

namespace {

#ifdef MORVANE_EARLIER
#define DATA_FOLDER "configuration-saves-earlier\\"
#else
#define DATA_FOLDER "configuration-saves\\"
#endif

// The records of a stream in stored order, read from its bytes: name and data.
std::vector<std::pair<std::string, std::string>> records(const std::vector<uint8_t>& bytes) {
    std::vector<std::pair<std::string, std::string>> out;
    auto u32 = [&bytes](size_t at) {
        return static_cast<uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                     static_cast<uint32_t>(bytes[at + 3]) << 24);
    };
    for (size_t at = 0; at + 4 <= bytes.size();) {
        const uint32_t length = u32(at);
        std::string name(bytes.begin() + at + 4, bytes.begin() + at + 4 + length);
        at += 4 + length;
        const uint32_t size = u32(at);
        out.emplace_back(name, std::string(bytes.begin() + at + 4, bytes.begin() + at + 4 + size));
        at += 4 + size;
    }
    return out;
}

std::vector<std::string> recordNames(const std::vector<uint8_t>& bytes) {
    std::vector<std::string> names;
    for (const auto& r : records(bytes)) names.push_back(r.first);
    return names;
}

void record(std::vector<uint8_t>& out, const std::string& name, const std::string& data) {
    auto u32 = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    u32(static_cast<uint32_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    u32(static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
}

class Configuration : public ::testing::Test {
protected:
    void SetUp() override {
        resetEngineState();
        ASSERT_TRUE(createFolder(DATA_FOLDER));
        ASSERT_TRUE(createFolder(DATA_FOLDER "flow"));
        ASSERT_TRUE(setDataFolder(DATA_FOLDER));
        ASSERT_TRUE(setSaveFolder(DATA_FOLDER "save\\"));
        cAPI_File file;
        const std::string list = "a01\r\nep.2\r\nnoext\r\n";
        ASSERT_TRUE(file.Create(DATA_FOLDER "flow\\checklist.txt"));
        ASSERT_TRUE(file.Write(list.data(), list.size()));
        ASSERT_TRUE(file.Close());
    }
    void TearDown() override {
        setDataFolder(".\\data\\");
        resetEngineState();
    }
};

TEST_F(Configuration, SaveSectionsInStoredOrder) {
    cSaveStream master;
    writeSaveSections(master);
    std::vector<std::string> expected = {"Data_Script", "Data_Sound", "Data_Anime", "Data_Flags",
                                         "Data_Log"};
#ifndef MORVANE_EARLIER
    expected.push_back("Data_Flow");
#endif
    EXPECT_EQ(expected, recordNames(master.Buffer()));
}

// Writes a slot file: a header of zeros, then the master stream's bytes.
bool writeSlot(int32_t slot, const std::vector<uint8_t>& master) {
    char name[16];
    if (!saveSlotFileName(slot, name)) return false;
    return replaceSaveFile(name, [&master](cSaveFile& file) {
        const std::vector<uint8_t> header(sizeof(SaveSlotHeader), 0);
        return file.Write(header.data(), header.size()) && file.Write(master.data(), master.size());
    });
}

TEST_F(Configuration, FlowSectionOfTheOtherConfiguration) {
    // The five shared sections of a save as this configuration writes them, with a flow section
    // as the full configuration writes one (a whole one, or damaged), or with none as the earlier
    // one writes.
    setChapter("Day 2", "Return");
    cSaveStream written;
    writeSaveSections(written);
    std::vector<uint8_t> shared;
    for (const auto& [name, data] : records(written.Buffer()))
        if (name != "Data_Flow") record(shared, name, data);
    std::vector<uint8_t> damagedFlow = shared;
    record(damagedFlow, "Data_Flow", std::string("\xFF\xFF\xFF\xFF junk", 9));
#ifdef MORVANE_EARLIER
    // The earlier configuration never looks at a flow section: a full save loads whole, also
    // when its flow section alone is damaged.
    std::vector<uint8_t> flow, wholeFlow = shared;
    record(flow, "LastNode", std::string("a01", 4));
    record(wholeFlow, "Data_Flow", std::string(flow.begin(), flow.end()));
    const std::vector<std::pair<std::vector<uint8_t>, bool>> cases = {
        {shared, true}, {wholeFlow, true}, {damagedFlow, true}};
#else
    // The full configuration reads its flow section: none starts an empty record, a damaged one
    // is refused.
    const std::vector<std::pair<std::vector<uint8_t>, bool>> cases = {{shared, true},
                                                                       {damagedFlow, false}};
#endif
    for (size_t i = 0; i < cases.size(); ++i) {
        ASSERT_TRUE(writeSlot(1, cases[i].first)) << i;
        setChapter("kept", "kept");
#ifndef MORVANE_EARLIER
        flowStartup();
        mReadFlags::beginScript("a01.txt");
        mReadFlags::beginScript("noext.txt");
#endif
        EXPECT_EQ(cases[i].second, loadGame(1)) << i;
        if (!cases[i].second) {
            EXPECT_STREQ("kept", gChapterName.c_str()) << i;
            continue;
        }
        EXPECT_STREQ("Return", gChapterName.c_str()) << i;
#ifndef MORVANE_EARLIER
        EXPECT_TRUE(flowRecord().VN.empty()) << i;
        EXPECT_TRUE(flowRecord().AL.empty()) << i;
        EXPECT_STREQ("", flowRecord().LastNode.c_str()) << i;
        EXPECT_EQ(3u, flowRecord().flowChecklist.size()) << i;
#endif
        cSaveStream again;
        writeSaveSections(again);
        EXPECT_EQ(written.Buffer(), again.Buffer()) << i;  // everything read back as it was written
    }
}

}  // namespace
