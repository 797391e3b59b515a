#include <cstring>
#include <vector>

#include "files/saveStream.h"
#include "scenarioTestSupport.h"
#include "testing.h"

namespace {

std::vector<VariableKind>& writes() {
    static std::vector<VariableKind> list;
    return list;
}
void recordWrite(VariableKind kind) { writes().push_back(kind); }

class VariableStore : public ::testing::Test {
protected:
    void SetUp() override {
        resetVariableStore();
        writes().clear();
        setVariableTableWriter(recordWrite);
    }
    void TearDown() override { setVariableTableWriter(nullptr); }
};

TEST_F(VariableStore, LookupPriorityIsByIndexThenLocalGlobalSeen) {
    setVariableName(VariableKind::Local, 5, "both");
    setVariableName(VariableKind::Global, 3, "both");
    variableValues(VariableKind::Local)[5] = 50;
    variableValues(VariableKind::Global)[3] = 30;
    EXPECT_EQ(30, getVariable("both"));  // index 3 comes first

    setVariableName(VariableKind::Local, 7, "same");
    setVariableName(VariableKind::Global, 7, "same");
    setVariableName(VariableKind::Seen, 7, "same");
    variableValues(VariableKind::Local)[7] = 1;
    variableValues(VariableKind::Global)[7] = 2;
    variableValues(VariableKind::Seen)[7] = 3;
    EXPECT_EQ(1, getVariable("same"));
    setVariableName(VariableKind::Local, 7, "");
    EXPECT_EQ(2, getVariable("same"));
    setVariableName(VariableKind::Global, 7, "");
    EXPECT_EQ(3, getVariable("same"));

    // Names compare byte for byte.
    EXPECT_EQ(0, getVariable("SAME"));
    EXPECT_EQ(0, getVariable("same "));
    // Digits are numbers, never names.
    setVariableName(VariableKind::Local, 8, "12");
    variableValues(VariableKind::Local)[8] = 99;
    EXPECT_EQ(12, getVariable("12"));
    EXPECT_EQ(4, getVariable("4x"));
}

TEST_F(VariableStore, EmptyNamesMatchNothing) {
    DiagnosticRecorder diagnostics;
    variableValues(VariableKind::Local)[0] = 5;  // slot 0 has no name
    EXPECT_EQ(0, getVariable(""));
    EXPECT_EQ(0, getVariable(nullptr));
    setVariable("", 9);
    setSeenFlag("");
    EXPECT_EQ(5, variableValues(VariableKind::Local)[0]);
    EXPECT_EQ(0, variableValues(VariableKind::Global)[0]);
    EXPECT_EQ(0, variableValues(VariableKind::Seen)[0]);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(3u, diagnostics.messages().size());  // two lookups, one assignment
}

TEST_F(VariableStore, AssignmentsAndTheirFiles) {
    DiagnosticRecorder diagnostics;
    setVariableName(VariableKind::Local, 1, "loc");
    setVariableName(VariableKind::Global, 2, "glob");
    setVariableName(VariableKind::Seen, 3, "flag");

    setVariable("loc", -4);
    EXPECT_EQ(-4, getVariable("loc"));
    EXPECT_TRUE(writes().empty());

    setVariable("glob", 8);
    setVariable("glob", 8);  // rewritten also when the value does not change
    EXPECT_EQ(8, getVariable("glob"));
    EXPECT_EQ((std::vector<VariableKind>{VariableKind::Global, VariableKind::Global}), writes());

    // Seen flags cannot be assigned.
    writes().clear();
    setVariable("flag", 5);
    EXPECT_EQ(0, getVariable("flag"));
    EXPECT_TRUE(writes().empty());
    ASSERT_EQ(1u, diagnostics.messages().size());
    EXPECT_NE(std::string::npos, diagnostics.messages()[0].find("flag"));

    setSeenFlag("flag");
    setSeenFlag("flag");
    setSeenFlag("unknown");
    EXPECT_EQ(1, getVariable("flag"));
    EXPECT_EQ((std::vector<VariableKind>{VariableKind::Seen, VariableKind::Seen}), writes());
    EXPECT_EQ(1u, diagnostics.messages().size());  // an unknown seen flag is silent

    clearLocalVariables();
    EXPECT_EQ(0, getVariable("loc"));
    EXPECT_EQ(8, getVariable("glob"));
}

TEST_F(VariableStore, TableBytesAreLittleEndianInIndexOrder) {
    int32_t* g = variableValues(VariableKind::Global);
    g[0] = 0x01020304;
    g[1] = -2;
    g[999] = 0x7F;
    uint8_t bytes[kVariableTableBytes];
    encodeVariableTable(VariableKind::Global, bytes);
    const uint8_t head[] = {4, 3, 2, 1, 0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(head, bytes, sizeof head));
    EXPECT_EQ(0x7F, bytes[3996]);
    EXPECT_EQ(0, bytes[3997]);

    bytes[4] = 0x10;
    decodeVariableTable(VariableKind::Seen, bytes);
    EXPECT_EQ(0x01020304, variableValues(VariableKind::Seen)[0]);
    EXPECT_EQ(static_cast<int32_t>(0xFFFFFF10), variableValues(VariableKind::Seen)[1]);
    EXPECT_EQ(0x7F, variableValues(VariableKind::Seen)[999]);
}

TEST_F(VariableStore, LocalVariablesSection) {
    int32_t* l = variableValues(VariableKind::Local);
    l[0] = 1;
    l[998] = -1;
    cSaveStream out;
    serializeLocalVariables(out);
    const std::vector<uint8_t>& buffer = out.Buffer();
    ASSERT_EQ(4u + 5u + 4u + 4000u, buffer.size());
    const uint8_t header[] = {5, 0, 0, 0, 'F', 'l', 'a', 'g', 's', 0xA0, 0x0F, 0, 0, 1, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(header, buffer.data(), sizeof header));
    EXPECT_EQ(0xFF, buffer[13 + 998 * 4]);

    clearLocalVariables();
    cSaveStream in(buffer.data(), buffer.size());
    serializeLocalVariables(in);
    EXPECT_EQ(1, l[0]);
    EXPECT_EQ(-1, l[998]);

    // A record of another size is not read, nor is a missing one.
    l[0] = 77;
    cSaveStream wrongSize;
    uint8_t small[3996] = {};
    wrongSize.WriteField("Flags", small, sizeof small);
    cSaveStream wrongIn(wrongSize.Data(), wrongSize.Size());
    serializeLocalVariables(wrongIn);
    EXPECT_EQ(77, l[0]);
    cSaveStream empty;
    empty.BuildIndex();
    serializeLocalVariables(empty);
    EXPECT_EQ(77, l[0]);
}

}  // namespace
