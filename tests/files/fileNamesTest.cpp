#include <cstring>
#include <string>

#include "files/fileNames.h"
#include "testing.h"

TEST(FileNames, FormatPathFitsOrFailsEmpty) {
    char out[kPathMax];
    EXPECT_TRUE(formatPath(out, "%s\\%s", "script", "start.txt"));
    EXPECT_STREQ("script\\start.txt", out);
    std::string longest(kPathMax - 1, 'a');
    EXPECT_TRUE(formatPath(out, "%s", longest.c_str()));
    EXPECT_EQ(longest, out);
    std::string tooLong(kPathMax, 'a');
    std::memset(out, 'x', sizeof out);
    EXPECT_FALSE(formatPath(out, "%s", tooLong.c_str()));
    EXPECT_STREQ("", out);
    EXPECT_FALSE(formatPath(out, "%s\\%s", longest.c_str(), "b"));
    EXPECT_STREQ("", out);
}

TEST(FileNames, FolderBesideModule) {
    char out[kPathMax];
    EXPECT_TRUE(folderBesideModule(out, "C:\\Games\\Novel\\system.exe", "data"));
    EXPECT_STREQ("C:\\Games\\Novel\\data\\", out);
    EXPECT_TRUE(folderBesideModule(out, "Z:\\system.exe", "save"));
    EXPECT_STREQ("Z:\\save\\", out);
    EXPECT_FALSE(folderBesideModule(out, "system.exe", "data"));
    EXPECT_STREQ(".\\data\\", out);
    EXPECT_FALSE(folderBesideModule(out, nullptr, "save"));
    EXPECT_STREQ(".\\save\\", out);
    // A folder that would not fit beside the executable falls back rather than being cut.
    std::string deep = "C:\\" + std::string(251, 'd') + "\\system.exe";
    EXPECT_FALSE(folderBesideModule(out, deep.c_str(), "data"));
    EXPECT_STREQ(".\\data\\", out);
    std::string fits = "C:\\" + std::string(kPathMax - 1 - 3 - 6, 'd') + "\\system.exe";
    EXPECT_TRUE(folderBesideModule(out, fits.c_str(), "data"));
    EXPECT_EQ(kPathMax - 1, std::strlen(out));
}

TEST(FileNames, LowerCaseTouchesOnlyCapitalLetters) {
    char text[] = "Script\\START.Txt\x82\x41\x93\x5A@[`{";
    lowerCaseAscii(text);
    EXPECT_STREQ("script\\start.txt\x82\x61\x93\x7a@[`{", text);
}

TEST(FileNames, SameFileExtension) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"anime\\BG01.IMG", ".img", true}, {"bg01.img", "x.IMG", true},
        {"bg01.png", ".img", false},       {"a.b.img", ".img", true},
        {"a.img.png", ".img", false},      {"readme", "README", true},
        {"readme", "other", false},        {"file.", ".", true},
        {"file.", ".img", false},          {"img", ".img", true},
    };
    for (const Case& c : cases) EXPECT_EQ(c.same, sameFileExtension(c.a, c.b)) << c.a << " " << c.b;
    EXPECT_FALSE(sameFileExtension(nullptr, ".img"));
    EXPECT_FALSE(sameFileExtension(".img", nullptr));
}
