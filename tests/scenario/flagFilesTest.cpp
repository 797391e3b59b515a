#include <cstring>
#include <string>

#include "config/registry.h"
#include "scenario/variables.h"
#include "scriptHost.h"
#include "testing.h"

#include <windows.h>

namespace {

constexpr uint32_t kSaveSeed = 0xF2C9;

std::string table(std::initializer_list<std::pair<int, int32_t>> values) {
    std::string bytes(4000, '\0');
    for (const auto& v : values)
        for (int b = 0; b < 4; ++b)
            bytes[v.first * 4 + b] = static_cast<char>(static_cast<uint32_t>(v.second) >> (8 * b));
    return bytes;
}

void writeSaveFile(const ScriptHost& host, const char* name, const std::string& plain) {
    std::string path = host.saveFolder + name;
    std::string bytes = scrambleBytes(plain, kSaveSeed);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string readSaveFile(const ScriptHost& host, const char* name) {
    return scrambleBytes(readWholeFile(host.saveFolder + name), kSaveSeed);
}

class FlagFiles : public ::testing::Test {
protected:
    void SetUp() override {
        host.writeDataFile("config\\config.txt", "system.txt\r\nflags.txt\r\n");
        host.writeDataFile("config\\flags.txt",
                           "; names of the variables\r\n[Define.Flag]\r\nL000=loc\r\nG000=total\r\n"
                           "G005=other\r\nF002=seen\r\nG007=\r\nL999=last\r\n");
        mSystemParam::loadConfig();
    }
    void TearDown() override {
        setVariableTableWriter(nullptr);
        resetVariableStore();
        host.writeDataFile("config\\config.txt", "");
        mSystemParam::loadConfig();
    }
    ScriptHost host{"flags"};
};

TEST_F(FlagFiles, NamesAndValuesAtStartUp) {
    writeSaveFile(host, "flagdata.000", table({{0, 11}, {5, -3}, {999, 9}}));
    writeSaveFile(host, "flagdata.001", table({{0, 1}, {1, 1}, {2, 1}}).substr(0, 8));  // short
    variableValues(VariableKind::Local)[0] = 4;
    variableValues(VariableKind::Seen)[500] = 1;
    EXPECT_TRUE(initFlags("flags.txt"));
    EXPECT_STREQ("loc", variableName(VariableKind::Local, 0));
    EXPECT_STREQ("last", variableName(VariableKind::Local, 999));
    EXPECT_STREQ("total", variableName(VariableKind::Global, 0));
    EXPECT_STREQ("", variableName(VariableKind::Global, 7));
    EXPECT_STREQ("seen", variableName(VariableKind::Seen, 2));
    EXPECT_EQ(4, getVariable("loc"));  // not touched
    EXPECT_EQ(11, getVariable("total"));
    EXPECT_EQ(-3, getVariable("other"));
    EXPECT_EQ(9, variableValues(VariableKind::Global)[999]);
    const int32_t* f = variableValues(VariableKind::Seen);
    EXPECT_EQ(1, f[0]);
    EXPECT_EQ(1, f[1]);
    EXPECT_EQ(0, f[2]);  // beyond the short file
    EXPECT_EQ(0, f[500]);
}

TEST_F(FlagFiles, MissingFilesGiveZeros) {
    variableValues(VariableKind::Global)[0] = 5;
    EXPECT_TRUE(initFlags(nullptr));
    EXPECT_EQ(0, getVariable("total"));
    EXPECT_FALSE(fileExists(host.saveFolder + "flagdata.000"));
}

TEST_F(FlagFiles, AssignmentRewritesTheWholeFile) {
    writeSaveFile(host, "flagdata.000", table({{5, 77}}));
    initFlags(nullptr);
    host.writeScript("t.txt", {"?total = 0x + 16909060", "?loc = 3"});
    host.run("t.txt");
    EXPECT_EQ(table({{0, 0x01020304}, {5, 77}}), readSaveFile(host, "flagdata.000"));
    std::string raw = readWholeFile(host.saveFolder + "flagdata.000");
    ASSERT_EQ(4000u, raw.size());
    EXPECT_NE(raw, readSaveFile(host, "flagdata.000"));  // scrambled on disk
    EXPECT_FALSE(fileExists(host.saveFolder + "flagdata.000.new"));
    EXPECT_FALSE(fileExists(host.saveFolder + "flagdata.001"));

    // The same value again still rewrites the file.
    DeleteFileA((host.saveFolder + "flagdata.000").c_str());
    setVariable("total", 0x01020304);
    EXPECT_EQ(table({{0, 0x01020304}, {5, 77}}), readSaveFile(host, "flagdata.000"));

    setSeenFlag("seen");
    setSeenFlag("seen");
    EXPECT_EQ(table({{2, 1}}), readSaveFile(host, "flagdata.001"));
}

TEST_F(FlagFiles, FailedWriteKeepsTheOldFile) {
    initFlags(nullptr);
    setVariable("total", 1);
    std::string before = readWholeFile(host.saveFolder + "flagdata.000");
    ASSERT_EQ(4000u, before.size());
    // The temporary file cannot be made: a folder stands in its place.
    ASSERT_TRUE(CreateDirectoryA((host.saveFolder + "flagdata.000.new").c_str(), nullptr));
    setVariable("total", 2);
    EXPECT_EQ(2, getVariable("total"));  // memory changes all the same
    EXPECT_EQ(before, readWholeFile(host.saveFolder + "flagdata.000"));
    RemoveDirectoryA((host.saveFolder + "flagdata.000.new").c_str());
    setVariable("total", 3);
    EXPECT_EQ(table({{0, 3}}), readSaveFile(host, "flagdata.000"));
}

TEST_F(FlagFiles, MissingSaveFolderIsCreated) {
    initFlags(nullptr);
    RemoveDirectoryA(host.saveFolder.substr(0, host.saveFolder.size() - 1).c_str());
    setVariable("other", 6);
    EXPECT_EQ(table({{5, 6}}), readSaveFile(host, "flagdata.000"));
}

}  // namespace
