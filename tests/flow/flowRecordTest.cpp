// The flow record: visits through the checklist, the two resets, node and link states, and the
// "Data_Flow" section against bytes written here.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "base/moduleState.h"
#include "files/apiFile.h"
#include "files/archiveIndex.h"
#include "files/saveStream.h"
#include "flow/flowRecord.h"
#include "testing.h"

namespace {

std::vector<std::string> sorted(const cFlowSet& set) {
    std::vector<std::string> names;
    for (const vstring& v : set) names.push_back(v.c_str());
    std::sort(names.begin(), names.end());
    return names;
}
using Names = std::vector<std::string>;

void checklist(std::initializer_list<const char*> names) {
    for (const char* n : names) const_cast<cFlowSet&>(flowRecord().flowChecklist).insert(vstring(n));
}

// Stream bytes written here: records of u32 name length, name, u32 size, data.
void record(std::vector<uint8_t>& out, const std::string& name, const std::string& data) {
    auto u32 = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    u32(static_cast<uint32_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    u32(static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
}
std::string le32(uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
    return s;
}
std::string str(const char* t) { return std::string(t) + '\0'; }

class Flow : public ::testing::Test {
protected:
    void SetUp() override {
        resetEngineState();
        checklist({"a01", "A02", "a03"});
    }
    void TearDown() override { resetEngineState(); }
};

TEST_F(Flow, VisitSequences) {
    const FlowRecord& r = flowRecord();
    flowVisit(nullptr);
    flowVisit("");
    flowVisit("start");  // not checklisted
    EXPECT_TRUE(r.VN.empty());
    EXPECT_STREQ("", r.LastNode.c_str());

    flowVisit("a01");  // the first: a node, no link
    EXPECT_EQ(Names{"a01"}, sorted(r.VN));
    EXPECT_EQ(Names{"a01"}, sorted(r.AN));
    EXPECT_TRUE(r.VL.empty());
    flowVisit("a01");  // twice in a row: a move to itself
    EXPECT_EQ(Names{"a01\ta01"}, sorted(r.AL));
    flowVisit("a02");  // the checklist's letter case does not matter; the caller's is kept
    EXPECT_STREQ("a02", r.LastNode.c_str());
    flowVisit("start");  // passed over: the move is from a02 on
    flowVisit("a01");    // a CALL returning to a01
    EXPECT_EQ((Names{"a01\ta01", "a01\ta02", "a02\ta01"}), sorted(r.VL));
    EXPECT_EQ(3, flowNodeState("A01"));
    EXPECT_EQ(2, flowNodeState("a02"));
    EXPECT_EQ(0, flowNodeState("a03"));
    EXPECT_EQ(2, flowLinkState("a01", "a02"));
    EXPECT_EQ(0, flowLinkState("a02", "a03"));

    flowResetRoute();
    EXPECT_EQ(1, flowNodeState("a01"));
    EXPECT_EQ(1, flowLinkState("a01", "a02"));
    EXPECT_EQ(3, flowNodeState(""));  // an empty last node matches the empty name
    flowVisit("a03");
    EXPECT_TRUE(r.AL.empty());  // a new route starts without a link into it

    flowResetAll();
    EXPECT_EQ(0, flowNodeState("a01"));
    EXPECT_EQ(0, flowLinkState("a01", "a02"));
    EXPECT_EQ(3u, r.flowChecklist.size());
}

TEST_F(Flow, TheLastNodeFoldsLettersOnlyInSingleByteCharacters) {
    struct Case {
        const char* lastNode;
        const char* name;
        uint8_t state;
    } cases[] = {
        {"a01", "A01", 3},
        {"\x89\x4A" "a01", "\x89\x4A" "A01", 3},  // 雨a01: the letters after the character fold
        {"\x89\x4A" "a01", "\x89\x6A" "a01", 0},  // Shift-JIS 雨 and 泳 differ in J and j
        {"\xB0\x41", "\xB0\x61", 0},              // GBK 癆 and 癮
    };
    for (const Case& c : cases) {
        // A loaded record whose sets are empty: only the last node can match.
        resetEngineState();
        std::vector<uint8_t> bytes;
        record(bytes, "LastNode", str(c.lastNode));
        cSaveStream in(bytes.data(), bytes.size());
        serializeFlowData(in);
        EXPECT_EQ(c.state, flowNodeState(c.name)) << c.lastNode << " / " << c.name;
    }
}

TEST_F(Flow, ChecklistLines) {
    resetEngineState();
    ASSERT_TRUE(setDataFolder("flow-test-data\\"));
    ASSERT_TRUE(createFolder("flow-test-data\\"));
    ASSERT_TRUE(createFolder("flow-test-data\\flow"));
    {
        cAPI_File file;
        ASSERT_TRUE(file.Create("flow-test-data\\flow\\checklist.txt"));
        const std::string text = "  a01\r\n;b\r\n\r\nc  \r\nd\r\n";
        ASSERT_TRUE(file.Write(text.data(), text.size()));
    }
    EXPECT_TRUE(loadFlowChecklist());
    EXPECT_EQ((Names{";b", "a01", "c  ", "d"}), sorted(flowRecord().flowChecklist));
    flowVisit("c");
    EXPECT_STREQ("", flowRecord().LastNode.c_str());  // blanks are part of the name
    deleteFile("flow-test-data\\flow\\checklist.txt");
    ASSERT_TRUE(setDataFolder(".\\data\\"));
    resetEngineState();
    EXPECT_TRUE(loadFlowChecklist());  // no file: an empty checklist
    EXPECT_TRUE(flowRecord().flowChecklist.empty());
}

TEST_F(Flow, EmptyRecordSavesFiveRecords) {
    cSaveStream out;
    serializeFlowData(out);
    std::vector<uint8_t> expected;
    record(expected, "LastNode", str(""));
    for (const char* count : {"AN_Count", "AL_Count", "VN_Count", "VL_Count"})
        record(expected, count, le32(0));
    EXPECT_EQ(expected, out.Buffer());
}

TEST_F(Flow, SavedInSetOrderAndReadBack) {
    flowVisit("a01");
    flowVisit("a02");
    cSaveStream out;
    serializeFlowData(out);
    // Entries in the sets' own order, which the test takes from the sets.
    std::vector<uint8_t> expected;
    const FlowRecord& r = flowRecord();
    record(expected, "LastNode", str("a02"));
    record(expected, "AN_Count", le32(2));
    record(expected, "AL_Count", le32(1));
    record(expected, "VN_Count", le32(2));
    record(expected, "VL_Count", le32(1));
    for (auto [stem, set] : {std::pair{"AN", &r.AN}, {"AL", &r.AL}, {"VN", &r.VN}, {"VL", &r.VL}}) {
        int i = 0;
        for (const vstring& v : *set) record(expected, stem + std::to_string(i++), str(v.c_str()));
    }
    EXPECT_EQ(expected, out.Buffer());

    const FlowRecord before = r;
    resetEngineState();
    cSaveStream in(out.Data(), out.Size());
    serializeFlowData(in);
    EXPECT_EQ(sorted(before.AN), sorted(r.AN));
    EXPECT_EQ(sorted(before.AL), sorted(r.AL));
    EXPECT_EQ(sorted(before.VN), sorted(r.VN));
    EXPECT_EQ(sorted(before.VL), sorted(r.VL));
    EXPECT_STREQ("a02", r.LastNode.c_str());
}

TEST_F(Flow, HostileSectionsLoadAtOnce) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> records;
        Names an;
    } cases[] = {
        {"a count of four billion with two entries",
         {{"AN_Count", le32(0xFFFFFFFFu)}, {"AN0", str("x")}, {"AN7", str("y")}},
         {"", "x", "y"}},
        {"a count of three bytes", {{"AN_Count", "\x02\0\0"}, {"AN0", str("x")}}, {}},
        {"entries beyond the count", {{"AN_Count", le32(1)}, {"AN0", str("x")}, {"AN1", str("y")}},
         {"x"}},
        {"an absent entry", {{"AN_Count", le32(2)}, {"AN1", str("y")}}, {"", "y"}},
        {"an entry without its NUL", {{"AN_Count", le32(1)}, {"AN0", "abc"}}, {"abc"}},
        {"names in other letter case", {{"an_count", le32(2)}, {"an0", str("x")}, {"An1", str("X")}},
         {"x"}},
        {"not an index", {{"AN_Count", le32(1)}, {"AN00", str("x")}, {"ANx", str("y")}}, {""}},
        {"no records at all", {}, {}},
    };
    for (const Case& c : cases) {
        resetEngineState();
        flowVisit("a01");
        std::vector<uint8_t> bytes;
        for (const auto& [name, data] : c.records) record(bytes, name, data);
        cSaveStream in(bytes.data(), bytes.size());
        serializeFlowData(in);
        EXPECT_EQ(c.an, sorted(flowRecord().AN)) << c.what;
        EXPECT_TRUE(flowRecord().VN.empty()) << c.what;
        EXPECT_STREQ("", flowRecord().LastNode.c_str()) << c.what;
    }
}

}  // namespace
