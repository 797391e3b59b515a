// The sections of a save in each configuration, and a save of the other configuration: the
// earlier one never looks at a flow section, the full one starts an empty flow record without.
#include <string>
#include <utility>
#include <vector>

#include "base/flowHooks.h"
#include "base/moduleState.h"
#include "files/apiFile.h"
#include "files/archiveIndex.h"
#include "files/saveStream.h"
#include "presentation/screens/saveSections.h"
#include "scenario/readflags/readFlags.h"
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

TEST_F(Configuration, FlowSectionOfTheOtherConfiguration) {
    // A save of the other configuration: the earlier one meets a flow section (here a damaged
    // one, which it never looks at); the full one meets none and starts an empty record.
    cSaveStream written;
    writeSaveSections(written);
    std::vector<uint8_t> bytes;
    for (const auto& [name, data] : records(written.Buffer()))
        if (name != "Data_Flow") record(bytes, name, data);
#ifdef MORVANE_EARLIER
    record(bytes, "Data_Flow", std::string("\xFF\xFF\xFF\xFF junk", 9));
#else
    flowStartup();
    mReadFlags::beginScript("a01.txt");
    mReadFlags::beginScript("noext.txt");
#endif
    cSaveStream in(bytes.data(), bytes.size());
    readSaveSections(in);
#ifndef MORVANE_EARLIER
    EXPECT_TRUE(flowRecord().VN.empty());
    EXPECT_TRUE(flowRecord().AL.empty());
    EXPECT_STREQ("", flowRecord().LastNode.c_str());
    EXPECT_EQ(3u, flowRecord().flowChecklist.size());
#endif
    cSaveStream again;
    writeSaveSections(again);
    EXPECT_EQ(written.Buffer(), again.Buffer());  // everything read back as it was written
}

}  // namespace
