// Where the two configurations differ at the flow chart's hooks: the checklist at start-up and
// the script switches of the read-text tracking. Built against both.
#include <algorithm>
#include <string>
#include <vector>

#include "base/flowHooks.h"
#include "base/moduleState.h"
#include "files/apiFile.h"
#include "files/archiveIndex.h"
#include "scenario/readflags/readFlags.h"
#include "testing.h"
#ifndef MORVANE_EARLIER
#include "flow/flowRecord.h"
#endif

namespace {

#ifdef MORVANE_EARLIER
#define DATA_FOLDER "configuration-data-earlier\\"
#else
#define DATA_FOLDER "configuration-data\\"
#endif

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

TEST_F(Configuration, ScriptSwitchesReachTheFlowRecordInTheFullConfigurationOnly) {
    flowStartup();
    const char* const switches[] = {"start.txt", "A01.txt", "A01.txt", nullptr, "", "start.txt",
                                    "ep.2.txt", "noext", "a01.TXT"};
    for (const char* name : switches) mReadFlags::beginScript(name);
#ifdef MORVANE_EARLIER
    // Nothing to look at: the earlier configuration has no flow record; the read-text tracking
    // still switched.
    mReadFlags::checkLine(4);
    mReadFlags::commit();
    SUCCEED();
#else
    const FlowRecord& r = flowRecord();
    EXPECT_EQ(3u, r.flowChecklist.size());
    EXPECT_STREQ("a01", r.LastNode.c_str());  // cut at the last point, the caller's spelling
    std::vector<std::string> links;
    for (const vstring& k : r.AL) links.push_back(k.c_str());
    std::sort(links.begin(), links.end());
    EXPECT_EQ((std::vector<std::string>{"A01\tA01", "A01\tep.2", "ep.2\tnoext", "noext\ta01"}), links);
    EXPECT_EQ(3u, r.VN.size());
#endif
}

}  // namespace
