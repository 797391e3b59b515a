#include <windows.h>

#include <string>
#include <vector>

#include "archiveBytes.h"
#include "files/archiveIndex.h"
#include "files/textBuf.h"
#include "testing.h"
#include "winTempFolder.h"

namespace {
struct TextBufLoad : ::testing::Test {
    TempFolder temp;
    std::string data = temp / "data\\";
    void SetUp() override {
        TempFolder::makeFolder(data);
        TempFolder::makeFolder(data + "script");
        ASSERT_TRUE(setDataFolder(data.c_str()));
        gArchiveIndex.clear();
    }
    void TearDown() override { gArchiveIndex.clear(); }
};

std::vector<std::string> lines(const cTextBuf& buf) {
    std::vector<std::string> out;
    vstring line;
    for (size_t i = 0; buf.GetLine(i, line); ++i) out.push_back(line.c_str());
    return out;
}
}  // namespace

TEST_F(TextBufLoad, LooseFileAndEnciphered) {
    ASSERT_TRUE(TempFolder::writeFile(data + "script\\a.txt", std::string("one\r\n  two\r\n")));
    std::string text = "first\r\nsecond\r\n";
    TestArchive a = buildTestArchive(0, {{5, "script\\b.txt",
                                          std::vector<uint8_t>(text.begin(), text.end())}});
    ASSERT_TRUE(TempFolder::writeFile(data + "s.dat", a.bytes));
    ASSERT_TRUE(readArchiveIndex((data + "s.dat").c_str(), "s.dat"));
    cTextBuf buf;
    ASSERT_TRUE(buf.Load("script", "a.txt"));
    EXPECT_EQ((std::vector<std::string>{"one", "two"}), lines(buf));
    ASSERT_TRUE(buf.Load("script", "B.TXT"));
    EXPECT_EQ((std::vector<std::string>{"first", "second"}), lines(buf));
}

TEST_F(TextBufLoad, EmptyOrMissingFilesFailWithNoLines) {
    ASSERT_TRUE(TempFolder::writeFile(data + "script\\empty.txt", std::string()));
    cTextBuf buf;
    ASSERT_TRUE(buf.SetText("left over"));
    EXPECT_FALSE(buf.Load("script", "empty.txt"));
    EXPECT_EQ(0u, buf.LineCount());
    ASSERT_TRUE(buf.SetText("left over"));
    EXPECT_FALSE(buf.Load("script", "missing.txt"));
    EXPECT_EQ(0u, buf.LineCount());
}

TEST_F(TextBufLoad, TextEndsAtItsFirstNul) {
    ASSERT_TRUE(TempFolder::writeFile(data + "script\\inner.txt",
                                      std::string("a\r\nb\0c\r\nd\r\n", 10)));
    cTextBuf buf;
    ASSERT_TRUE(buf.Load("script", "inner.txt"));
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), lines(buf));
}
