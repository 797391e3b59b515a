#include <windows.h>

#include <string>
#include <vector>

#include "../files/archiveBytes.h"
#include "../files/winTempFolder.h"
#include "config/registry.h"
#include "files/archiveIndex.h"
#include "testing.h"

namespace {
struct RegistryLoad : ::testing::Test {
    TempFolder temp;
    std::string data = temp / "data\\";
    void SetUp() override {
        TempFolder::makeFolder(data);
        TempFolder::makeFolder(data + "config");
        ASSERT_TRUE(setDataFolder(data.c_str()));
        gArchiveIndex.clear();
        gConfigRegistry.clear();
    }
    void TearDown() override {
        gArchiveIndex.clear();
        gConfigRegistry.clear();
    }
    void write(const char* name, const std::string& text) {
        ASSERT_TRUE(TempFolder::writeFile(data + "config\\" + name, text));
    }
    static std::vector<uint8_t> bytes(const std::string& s) {
        return std::vector<uint8_t>(s.begin(), s.end());
    }
};
}  // namespace

TEST_F(RegistryLoad, ListedFilesInOrderFromLooseFilesAndArchives) {
    write("config.txt", "first.txt\r\nmissing.txt\r\n;comment.txt\r\n\r\nsecond.txt\r\n");
    write("first.txt", "[System.Info]\r\nTitle=First\r\n[System.Setting]\r\n");
    // The second file comes from an archive; its key lines before a header are ignored, because
    // the header of the first file does not carry over.
    std::string second = "Title=Orphan\r\n[System.Info]\r\nTitle=Second\r\nVendor=Acme\r\n";
    TestArchive a = buildTestArchive(0, {{3, "config\\second.txt", bytes(second)}});
    ASSERT_TRUE(TempFolder::writeFile(data + "c.dat", a.bytes));
    ASSERT_TRUE(readArchiveIndex((data + "c.dat").c_str(), "c.dat"));
    write("unlisted.txt", "[System.Info]\r\nDate=never\r\n");

    EXPECT_TRUE(mSystemParam::loadConfig());
    mSystemParam::cSection info;
    ASSERT_TRUE(mSystemParam::getSection(info, "System", "Info"));
    EXPECT_STREQ("First", info.GetString("Title", "???"));
    EXPECT_STREQ("Acme", info.GetString("Vendor", "???"));
    EXPECT_STREQ("???", info.GetString("Date", "???"));
    EXPECT_EQ(2u, info.values.size());
}

TEST_F(RegistryLoad, NoListGivesAnEmptyRegistryAndReloadingReplaces) {
    write("a.txt", "[System.Setting]\r\nScreenWidth=800\r\n");
    mSystemParam::cSection s;
    EXPECT_TRUE(mSystemParam::loadConfig());
    EXPECT_TRUE(gConfigRegistry.empty());
    write("config.txt", "a.txt");
    EXPECT_TRUE(mSystemParam::loadConfig());
    ASSERT_TRUE(mSystemParam::getSection(s, "System", "Setting"));
    EXPECT_EQ(800, s.GetInt("ScreenWidth", 640));
    write("config.txt", "b.txt");
    write("b.txt", "[System.Option]\r\nQuitDialog=on\r\n");
    EXPECT_TRUE(mSystemParam::loadConfig());
    EXPECT_FALSE(mSystemParam::getSection(s, "System", "Setting"));
    ASSERT_TRUE(mSystemParam::getSection(s, "System", "Option"));
    EXPECT_TRUE(s.GetBool("QuitDialog", false));
}
